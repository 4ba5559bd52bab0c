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
    Compressed, // to the decoder; its expansion is routed with routeLabel()
    Program,    // to the program barcode handler
    Ordinary,   // to the label interpreter
};

struct ScanRoute
{
    ScanKind kind = ScanKind::Nothing;
    // "%N%" is interpreted before the label: the apostrophe rule selects field N for it.
    bool fieldNFirst = false;
    QString label;
    // What follows the label: a label of its own, handled before anything else in the buffer.
    QString rest;
};

// Routes a whole scan buffer. Apostrophe rule: "'" text "$" ... stands for "%N%" followed by
// the text, and what follows the "$" is dropped; with no text there is nothing to handle. A
// label (the text, or else the whole buffer) that begins with the compressed marker goes to
// the decoder whole; any other is routed by routeLabel().
[[nodiscard]] ScanRoute routeScan(QStringView buffer);

// Routes a label that is not compressed: with the program separator anywhere it carries a
// program and goes whole and unchanged; otherwise it is ordinary, every "!" becomes a blank,
// and a "%" after the first character ends it, what follows being the rest.
[[nodiscard]] ScanRoute routeLabel(QStringView label);

} // namespace barlink::scanner
