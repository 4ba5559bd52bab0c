#include "AutoSelSettingsFile.h"

#include "AutoSelSettings.h"
#include "base/Error.h"
#include "base/Settings.h"
#include "settings/ProfileFile.h"
#include "settings/SettingsFile.h"
#include "text/NumericValue.h"
#include "text/Rounding.h"

#include <QLoggingCategory>

namespace barlink::fieldsel {

namespace {

Q_LOGGING_CATEGORY(lcFieldSel, "barlink.fieldsel", QtWarningMsg)

// What the profile reader answers for a missing key, so that missing and empty can be told
// from a stored value.
const QString MissingMarker = QStringLiteral("END.-");
constexpr int ReadBufferSize = 80;

const QString DefaultFieldKey = QStringLiteral("DFN");

struct StoredTriggerKeys
{
    TriggerSource source;
    MirrorAction action;
    const char *prefix;
};

// The stored sets in the order their keys are read and written.
constexpr StoredTriggerKeys StoredTriggers[] = {
    {TriggerSource::ProgramName, MirrorAction::Mirror, "PNameMirror"},
    {TriggerSource::ProgramName, MirrorAction::NormAndMirror, "PNameNandM"},
    {TriggerSource::Comment, MirrorAction::Mirror, "CommentMirror"},
    {TriggerSource::Comment, MirrorAction::NormAndMirror, "CommentNandM"},
};

[[nodiscard]] QString key(const char *prefix, QLatin1String suffix)
{
    return QLatin1String(prefix) + suffix;
}

class KeyReader
{
public:
    explicit KeyReader(const base::Settings &settings)
        : m_settings(settings)
    {}

    [[nodiscard]] QString text(const QString &key) const
    {
        return readSettingString(m_settings, settings::SettingsSection, key);
    }
    [[nodiscard]] double number(const QString &key) const { return text::numericValue(text(key)); }
    [[nodiscard]] qint16 rounded(const QString &key) const
    {
        return text::roundHalfEven16(number(key));
    }

private:
    const base::Settings &m_settings;
};

// Upper case one character at a time, so the text keeps its length.
[[nodiscard]] QString upperCase(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper)
        c = c.toUpper();
    return upper;
}

// Settings writes are not checked: a key that cannot be written is skipped.
void writeUnchecked(const base::Settings &settings, const QString &key, const QString &value)
{
    try {
        settings::writeKey(settings, key, value);
    } catch (const base::Error &error) {
        qCInfo(lcFieldSel) << "could not write" << key << error.what();
    }
}

} // namespace

QString
readSettingString(const base::Settings &settings, const QString &section, const QString &key)
{
    QString value = settings::ProfileFile(settings.settingsFilePath)
                        .readString(section, key, MissingMarker, ReadBufferSize);
    const qsizetype nul = value.indexOf(QChar(0));
    if (nul >= 0)
        value.truncate(nul);
    return value == MissingMarker ? QString() : value;
}

void loadAutoSelSettings(AutoSelSettings &model, const base::Settings &settings)
{
    const KeyReader read(settings);

    for (FieldSlot slot : AllFieldSlots) {
        model.setCode(slot, read.text(key("FieldCode_", slotKey(slot))));
        const QString flagKey = key("FieldFlag_", slotKey(slot));
        if (hasEnableFlag(slot))
            model.setEnableFlag(slot, read.rounded(flagKey));
    }
    model.setDefaultField(read.text(QStringLiteral("FieldCode_") + DefaultFieldKey));

    model.setHalfLimitX(read.text(QStringLiteral("HalfLimitX")));
    model.setHalfLimitY(read.text(QStringLiteral("HalfLimitY")));

    model.setPNameMSel(read.rounded(QStringLiteral("PNameMSel")));
    model.setCommentMSel(read.rounded(QStringLiteral("CommentMSel")));

    // Choosing the source and the action runs what clicking them runs: the stored sets are
    // still empty here, so the live trigger only gets the maximum of the chosen source.
    const double source = read.number(QStringLiteral("AutoSelSetting"));
    if (source == 1 || source == 2) {
        const bool comment = source == 2;
        model.setSource(comment ? TriggerSource::Comment : TriggerSource::ProgramName);
        model.setAutoSel();
        model.placeText();
        const qint16 mSel = comment ? model.commentMSel() : model.pNameMSel();
        model.setAction(mSel != 0 ? MirrorAction::Mirror : MirrorAction::NormAndMirror);
        model.setAutoSel();
        model.placeText();
    } else if (source == 3) {
        model.setSource(TriggerSource::Barcode);
        model.placeText();
    }

    for (const StoredTriggerKeys &stored : StoredTriggers) {
        TriggerSet set;
        set.alignment = read.rounded(key(stored.prefix, QLatin1String("LR")));
        set.position = read.rounded(key(stored.prefix, QLatin1String("CPos")));
        set.text = read.text(key(stored.prefix, QLatin1String("Text")));
        model.setTriggerSet(stored.source, stored.action, set);
    }

    model.setAutoSel();
}

void saveAutoSelSettings(AutoSelSettings &model, const base::Settings &settings)
{
    const auto write = [&settings](const QString &key, const QString &value) {
        writeUnchecked(settings, key, value);
    };

    for (FieldSlot slot : AllFieldSlots) {
        write(key("FieldCode_", slotKey(slot)), upperCase(model.code(slot)));
        const int flag = hasEnableFlag(slot) ? model.enableFlag(slot) : 1;
        write(key("FieldFlag_", slotKey(slot)), settings::signedNumberText(flag));
    }
    write(QStringLiteral("FieldCode_") + DefaultFieldKey, upperCase(model.defaultField()));
    write(QStringLiteral("FieldFlag_") + DefaultFieldKey, settings::signedNumberText(1));

    write(QStringLiteral("HalfLimitX"), model.halfLimitX());
    write(QStringLiteral("HalfLimitY"), model.halfLimitY());

    model.getAutoSel();
    const char *source = model.source() == TriggerSource::Barcode   ? "3"
                         : model.source() == TriggerSource::Comment ? "2"
                                                                    : "1";
    write(QStringLiteral("AutoSelSetting"), QLatin1String(source));

    for (const StoredTriggerKeys &stored : StoredTriggers) {
        const TriggerSet set = model.triggerSet(stored.source, stored.action);
        write(key(stored.prefix, QLatin1String("LR")), QString::number(set.alignment));
        write(key(stored.prefix, QLatin1String("CPos")), QString::number(set.position));
        write(key(stored.prefix, QLatin1String("Text")), set.text);
    }

    write(QStringLiteral("PNameMSel"), QString::number(model.pNameMSel()));
    write(QStringLiteral("CommentMSel"), QString::number(model.commentMSel()));
}

} // namespace barlink::fieldsel
