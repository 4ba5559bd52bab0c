#pragma once

#include "base/Reasons.h"

#include <QList>

#include <utility>

namespace barlink::base {

// Whether the label handling writes the files it writes besides the list (a program barcode's
// program file, a companion CSV moved into the collecting file), or, in a try run, writes
// nothing and notes what it would have written.
class FileWrites
{
public:
    // Off: nothing is written from now on.
    void setEnabled(bool enabled) { m_enabled = enabled; }
    [[nodiscard]] bool enabled() const { return m_enabled; }

    // Asked before each write (or, where finding what would be written costs, once writes are
    // known to be off): true, write it; false, it is noted as `what` and skipped.
    [[nodiscard]] bool allow(const Reason &what)
    {
        if (m_enabled)
            return true;
        m_skipped << what;
        return false;
    }
    // The writes skipped since the last call.
    [[nodiscard]] QList<Reason> takeSkipped() { return std::exchange(m_skipped, {}); }

private:
    bool m_enabled = true;
    QList<Reason> m_skipped;
};

} // namespace barlink::base
