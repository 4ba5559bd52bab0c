#pragma once

#include "CuttingList.h"
#include "LabelText.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace barlink::labeltool {

// What a piece's labels carry: the symbols in the order they are scanned, and how many labels
// the piece gets. The station takes a program barcode or a plain name in one scan, and the
// segment labels of one item in any order.
struct PiecePlan
{
    enum class Kind { ProgramBarcode, Segments, Name };

    CuttingRow row;
    Kind kind = Kind::Name;
    int quantity = 1;
    QString program;          // the program name as the barcode carries it
    QString x, y, z;          // the dimensions as the barcode carries them ("." as separator)
    QList<LabelText> symbols; // one or two
    bool compressed = false;
};

// A piece's plan, or why the station would refuse its labels.
struct PieceOutcome
{
    std::optional<PiecePlan> plan;
    QString refusal; // "name holds ';'"; shown after "line N "
};

// Whether a program barcode fits the label; the plan compresses a program barcode that does
// not and refuses one that still does not. (Whether segment labels fit is the layout's
// question.)
using FitsOnLabel = std::function<bool(const LabelText &)>;

// The labels of one piece of a cutting list, in the station's own grammar:
// - a program file (programFile set): a program barcode, name ^ field and dimensions ! program,
//   compressed when it would not fit;
// - otherwise, with a work field or a dimension: segment labels, the program with its work
//   field ("P", the station's choice by size, when none is given) and, with dimensions, a
//   second one with X Y Z (a missing one as 0: the station reads it from the program);
// - otherwise the plain program name, which takes the station's default work field.
// The program is the Program column, or the piece name when that is blank.
[[nodiscard]] PieceOutcome planPiece(const CuttingRow &row,
                                     const std::optional<QByteArray> &programFile,
                                     const FitsOnLabel &fits);

// The four text lines of the copy-th label (from 1) of a piece: its name; X × Y × Z and the
// material; work field and program; order and "3 of 12".
[[nodiscard]] QStringList pieceLines(const PiecePlan &plan, int copy);

} // namespace barlink::labeltool
