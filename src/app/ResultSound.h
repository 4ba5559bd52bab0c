#pragma once

#include "base/LabelOutcome.h"

#include <QObject>
#include <QString>

#include <memory>

class QSoundEffect;

namespace barlink::app {

// A short sound on the PC for what became of each label, for stations whose scanner does not
// beep on the refusal reply: one sound for a label taken, another for one refused or failed,
// none for a segment that waits for the next.
class ResultSound : public QObject
{
    Q_OBJECT
public:
    enum class Sound { None, Taken, Refused };

    explicit ResultSound(QObject *parent = nullptr);
    ~ResultSound() override;

    // The sound for an outcome. Taken with a warning is taken: its rows went.
    [[nodiscard]] static Sound soundFor(const base::LabelOutcome &outcome);
    // Where the sound is kept in the program's resources.
    [[nodiscard]] static QString source(Sound sound);

public Q_SLOTS:
    // Plays the outcome's sound; a machine without a sound device stays silent.
    void play(const QString &shownLabel, const base::LabelOutcome &outcome);

private:
    std::unique_ptr<QSoundEffect> m_taken;
    std::unique_ptr<QSoundEffect> m_refused;
};

} // namespace barlink::app
