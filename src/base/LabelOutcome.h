#pragma once

#include "base/Reasons.h"

namespace barlink::base {

// What the part that handled a label decided about it, told to the station as it is decided.
// A label whose handling throws has no outcome of its own: the station records the error.
struct LabelOutcome
{
    enum class Kind { Command, FieldCode, Segment, PlainName, List, ProgramBarcode };
    enum class Result {
        Taken,   // the label did what it was for; rows, when it sent any, are counted apart;
                 // a reason is a warning: the rows went, but lack something the operator is
                 // to know of (the program file is not there: they carry no dimensions)
        Waiting, // a segment taken in: the item waits for the next one
        Refused, // nothing changed: reason says why
        Failed,  // a step failed part-way: reason is the error
    };

    Kind kind = Kind::PlainName;
    Result result = Result::Taken;
    Reason reason = {};

    // Taken, with a warning the operator is to see.
    [[nodiscard]] bool warns() const { return result == Result::Taken && !reason.isEmpty(); }

    friend bool operator==(const LabelOutcome &, const LabelOutcome &) = default;
};

} // namespace barlink::base
