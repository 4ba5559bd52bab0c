#pragma once

#include "scanner/ScanRouting.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1String>
#include <QString>
#include <QStringView>

namespace barlink::program {

// The layout of a compressed label, shared by the station's decoder and the label encoder.
// Positions count from 0 here:
//   0      "ñ" (code 241), the marker that sends the label to the decoder
//   1-2    two characters the decoder does not read; the encoder writes FormatTag
//   3-7    the expanded length in decimal, five characters; the encoder writes leading zeros
//   8-10   three characters the decoder does not read; the encoder writes Reserved
//   11-    the compressed data, one zlib stream (RFC 1950), every backslash written twice
namespace compressedlabel {
inline constexpr char16_t Marker = scanner::scanmarker::Compressed;
inline constexpr QLatin1String FormatTag("ZL");
inline constexpr qsizetype LengthPosition = 3;
inline constexpr qsizetype LengthWidth = 5;
inline constexpr QLatin1String Reserved("000");
inline constexpr qsizetype DataPosition = 11;
// The expanded text is at most this long.
inline constexpr int MaxExpandedLength = 32767;
// The decoder's working buffers, and the longest expanded text it expands within them; a
// longer one is expanded as a stream (ExpandRoute::File).
inline constexpr int BufferSize = 23200;
inline constexpr int BufferRouteLimit = BufferSize - 128;
} // namespace compressedlabel

// Every backslash written twice.
[[nodiscard]] QByteArray escapeBackslashes(QByteArrayView data);

// Reading left to right, every second backslash of a run of backslashes is dropped: in a
// run of k the first, third, fifth ... stay, so a pair gives one and a single backslash
// stays as it is. Nothing else changes.
[[nodiscard]] QByteArray unescapeBackslashes(QByteArrayView data);

// The characters of escaped that hold the first plainBytes bytes of
// unescapeBackslashes(escaped), the backslash doubling the last of them included.
[[nodiscard]] qsizetype escapedLength(QByteArrayView escaped, qsizetype plainBytes);

// How the decoder expands a text of the given length: Buffer, within its fixed buffers, up to
// BufferRouteLimit characters; File, above that, as a stream into a text no longer than the
// length field allows. Both work in memory; neither writes a file.
enum class ExpandRoute { Buffer, File };
[[nodiscard]] ExpandRoute expandRouteFor(int expandedLength);

// The compressed label that carries text: the layout above, the text's characters as bytes
// of the station's single-byte code page, compressed with zlib at the given level (0 to 9).
// Throws barlink::base::Error 5 for an empty text, a text longer than MaxExpandedLength or with a
// character the code page cannot hold, and for compressed data that would not fit the
// decoder's input buffer on the in-memory route.
[[nodiscard]] QString makeCompressedLabel(QStringView text, int level = 9);

} // namespace barlink::program
