#pragma once

namespace barlink::fieldsel {
class AutoSelSettings;
}

namespace barlink::base {
struct CurrentItem;
} // namespace barlink::base

namespace barlink::label {

// Decides whether the item is a mirror piece: looks for the trigger characters of the field
// selection settings at their position in the program name or the program comment, both
// compared in upper case. On a test (source Program Name or Comment, a trigger no longer
// than the source) it sets item.runField to "W" on a match and "P" otherwise. Returns true
// when the item is to be sent twice, normal and mirrored: a match with the action
// "Norm and Mirror". A trigger beginning with "*" matches any source at least as long.
// Throws barlink::base::Error 6 when the source is longer than 16-bit positions reach.
[[nodiscard]] bool matchMirrorSpec(const fieldsel::AutoSelSettings &settings,
                                   base::CurrentItem &item);

} // namespace barlink::label
