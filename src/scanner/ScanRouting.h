#pragma once

#include <QString>
#include <QStringView>

#include <functional>

namespace barlink::scanner {

// The characters that send a label to the decoder or to the program barcode handler; the
// label encoder writes them from here too.
namespace scanmarker {
// A label that begins with this character ("ñ") is compressed: the decoder expands it.
inline constexpr char16_t Compressed = 0xF1;
// A label with this character anywhere carries a program.
inline constexpr char16_t Program = u'^';
} // namespace scanmarker

// A character of the scanner's line end: CR or LF.
[[nodiscard]] inline bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// Where the label at the front of the scan buffer goes.
enum class ScanKind {
    Nothing,    // no label: nothing is handled
    Pending,    // the label at the front is not complete yet: nothing is handled, nothing taken
    Ignored,    // nothing but blanks and control characters: journaled as ignored, no more
    Compressed, // to the decoder; its expansion is routed with routeLabel()
    Program,    // to the program barcode handler
    Ordinary,   // to the label interpreter
};

struct ScanRoute
{
    ScanKind kind = ScanKind::Nothing;
    // "%N%" is interpreted before the label: the apostrophe rule selects field N for it.
    bool fieldNFirst = false;
    // Ignored: the label as it came, line end included.
    QString label = {};
    // What follows the label: a label of its own, handled before anything else in the buffer.
    // When the label ended at the label end, the rest carries the label end again.
    QString rest = {};
    // What followed the label's end (LabelEnd): the labels after it, kept even when the label
    // or its "%N%" fails.
    QString next = {};
    // The port went quiet on an ordinary label while a label end is set and the buffer does
    // not hold it: the scanner sends labels without it.
    bool withoutLabelEnd = false;
};

// How labels end: when the port has been quiet for two poll intervals, and, when the station
// knows the scanner's suffix (LabelEnd), as soon as the suffix arrives.
struct LabelFrame
{
    // The scanner's suffix; empty: a label ends only when the port is quiet.
    QString suffix;
    // The port has been quiet for two poll intervals: the whole buffer is complete.
    bool quiet = true;
    // Whether a compressed label (with what follows it) holds its whole data: as many
    // characters as its length field says. Without it, a compressed label waits for quiet.
    std::function<bool(QStringView)> compressedWhole;
};

// Routes the scan buffer; the one place where a buffer is split into labels.
//
// When the port is quiet (and always without a suffix) the whole buffer is routed. Apostrophe
// rule: "'" text "$" ... stands for "%N%" followed by the text, and what follows the "$" is
// dropped; with no text there is nothing to handle. A label (the text, or else the whole
// buffer) that begins with the compressed marker goes to the decoder whole: the decoder knows
// where its data ends and drops the line end after it. Any other label, without a suffix at
// its end, is routed by routeLabel(); a program barcode then loses the scanner's line end at
// its end (CR, LF or CR LF), when no suffix was removed.
//
// When the suffix is set and the port is not yet quiet, a label is complete at the first
// suffix: the text before it is routed as above, and what follows it is next. Two kinds of
// label may hold the suffix in their text and are not cut at it; they are Pending until they
// are whole: a compressed label (after an apostrophe too) until compressedWhole says its data
// is all there, and then goes whole as above; a program barcode (the text before the first
// suffix holds "^" and "!": header and the first line of its program) until the port is quiet.
// Without a suffix in the buffer, Pending.
[[nodiscard]] ScanRoute routeScan(QStringView buffer, const LabelFrame &frame = {});

// What the line ends (CR, LF) inside an ordinary label are.
enum class LineEnds {
    Split, // the scanner's: each ends a label (a scanner that triggered twice within the quiet
           // interval, a line end of several characters), and belongs to none
    Kept,  // the label's own: the expansion of a compressed label keeps its bytes
};

// Routes a label that is not compressed. Empty, or nothing but blanks and control
// characters: ignored. With the program separator anywhere it carries a program and goes
// whole and unchanged, line ends inside it included; otherwise it is ordinary: every "!"
// becomes a blank, and a "%" after the first character ends it. Where line ends are split,
// the line ends (in any run) before the label go and the first line end ends it, if it comes
// before that "%". What follows is the rest, a label of its own, without the line ends at its
// start: they are the scanner's and belong to no label.
[[nodiscard]] ScanRoute routeLabel(QStringView label, LineEnds lineEnds = LineEnds::Split);

} // namespace barlink::scanner
