#include "ResultSound.h"

#include <QLoggingCategory>
#include <QSoundEffect>
#include <QUrl>

Q_LOGGING_CATEGORY(lcSound, "barlink.app.sound", QtWarningMsg)

namespace barlink::app {

namespace {

std::unique_ptr<QSoundEffect> effect(ResultSound::Sound sound)
{
    auto made = std::make_unique<QSoundEffect>();
    made->setSource(QUrl(QStringLiteral("qrc") + ResultSound::source(sound)));
    return made;
}

} // namespace

ResultSound::ResultSound(QObject *parent)
    : QObject(parent)
    , m_taken(effect(Sound::Taken))
    , m_refused(effect(Sound::Refused))
{}

ResultSound::~ResultSound() = default;

ResultSound::Sound ResultSound::soundFor(const base::LabelOutcome &outcome)
{
    using Result = base::LabelOutcome::Result;
    switch (outcome.result) {
    case Result::Taken:
        return Sound::Taken;
    case Result::Refused:
    case Result::Failed:
        return Sound::Refused;
    case Result::Waiting:
        break;
    }
    return Sound::None;
}

QString ResultSound::source(Sound sound)
{
    switch (sound) {
    case Sound::Taken:
        return QStringLiteral(":/barlink/sounds/taken.wav");
    case Sound::Refused:
        return QStringLiteral(":/barlink/sounds/refused.wav");
    case Sound::None:
        break;
    }
    return {};
}

void ResultSound::play(const QString &shownLabel, const base::LabelOutcome &outcome)
{
    QSoundEffect *effect = nullptr;
    switch (soundFor(outcome)) {
    case Sound::Taken:
        effect = m_taken.get();
        break;
    case Sound::Refused:
        effect = m_refused.get();
        break;
    case Sound::None:
        return;
    }
    if (effect->status() == QSoundEffect::Error) {
        qCDebug(lcSound) << "no sound for" << shownLabel << "(no sound device?)";
        return;
    }
    // A sound still playing for the label before gives way to this one.
    effect->stop();
    effect->play();
}

} // namespace barlink::app
