#pragma once

#include <QString>
#include <QStringView>

namespace barlink::scanner {

// The characters that send a label to the decoder or to the program barcode handler; the
// label encoder writes them from here too.
namespace scanmarker {
// A label that begins with this character ("ñ") is compressed: the decoder expands it.
inline constexpr char16_t Compressed = 0xF1;
// A label with this character anywhere carries a program.
inline constexpr char16_t Program = u'^';
} // namespace scanmarker

// Where the label at the front of the scan buffer goes.
enum class ScanKind {
    Nothing,    // no label: nothing is handled
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
    QString label;
    // What follows the label: a label of its own, handled before anything else in the buffer.
    QString rest;
};

// Routes a whole scan buffer; the one place where a buffer is split into labels. Apostrophe
// rule: "'" text "$" ... stands for "%N%" followed by the text, and what follows the "$" is
// dropped; with no text there is nothing to handle. A label (the text, or else the whole
// buffer) that begins with the compressed marker goes to the decoder whole: the decoder knows
// where its data ends and drops the line end after it. From any other label the scanner's line
// end at its end (CR, LF or CR LF, one of them) is removed, and what is left is routed by
// routeLabel().
[[nodiscard]] ScanRoute routeScan(QStringView buffer);

// Routes a label that is not compressed. Empty, or nothing but blanks and control
// characters: ignored. With the program separator anywhere it carries a program and goes
// whole and unchanged, line ends inside it included; otherwise it is ordinary, every "!"
// becomes a blank, and a "%" after the first character ends it, what follows being the rest
// without the line end right after that "%", which is the scanner's and belongs to no label.
[[nodiscard]] ScanRoute routeLabel(QStringView label);

} // namespace barlink::scanner
