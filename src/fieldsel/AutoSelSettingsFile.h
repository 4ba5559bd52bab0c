#pragma once

#include <QString>

namespace barlink::base {
struct Settings;
} // namespace barlink::base

namespace barlink::app {}

namespace barlink::fieldsel {

class AutoSelSettings;

// The value of key in section of the settings file, or "" when the key is missing. The
// value is read through an 80-character buffer (at most 79 characters), cut at its first
// NUL; a stored value of exactly "END.-" reads as missing.
[[nodiscard]] QString
readSettingString(const base::Settings &settings, const QString &section, const QString &key);

// Fills a freshly made model from the settings file the way the setup dialog loads:
// every slot's FieldCode_ and FieldFlag_ key and the default field, the half limits,
// PNameMSel and CommentMSel, AutoSelSetting (which picks the source and, from the matching
// MSel key, the action), the twelve stored trigger keys, and finally the stored set of the
// chosen source and action into the live trigger. Missing keys give empty texts and 0.
// Throws barlink::base::Error 6 when a number does not fit 16 bits.
void loadAutoSelSettings(AutoSelSettings &model, const base::Settings &settings);

// Writes the model back key by key (the setup dialog's OK): codes in upper case, flags as
// " 1" / " 0" (always " 1" for SFN, SFM and the default field), the half limits as typed,
// then the live trigger is stored into its set, AutoSelSetting "1" / "2" / "3", the twelve
// trigger keys and the two MSel keys in plain decimal. A failed write is skipped.
void saveAutoSelSettings(AutoSelSettings &model, const base::Settings &settings);

} // namespace barlink::fieldsel
