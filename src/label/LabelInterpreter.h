#pragma once

#include <QString>

namespace barlink::label {

// Interprets one complete label: scanned labels and labels typed by hand go through it.
class LabelInterpreter
{
public:
    virtual ~LabelInterpreter() = default;
    // True: a command, a field-code label or a completed item. False: the item is
    // still incomplete, the label was refused, or it named a list file.
    virtual bool interpretLabel(const QString &label) = 0;
};

} // namespace barlink::label
