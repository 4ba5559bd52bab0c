// Labels that carry a whole program (or name a list file, or send the current item as it
// is): the program barcode handler saves the program file in the g-code folder and adds the
// item to the list.
//
// Input: the two plan bytes of StationPlan, then one label; the polling tick routes only
// labels holding "^" here, so other inputs are skipped.
//
// Besides what holds for every station input, a program file is either left as it was or
// holds the whole program text, and nothing else appears in the g-code folder.

#include "Fakes.h"
#include "FuzzCheck.h"
#include "FuzzStation.h"
#include "StationProbe.h"
#include "base/Options.h"
#include "program/ProgramBarcode.h"
#include "program/ProgramFileReader.h"
#include "text/FieldSplitter.h"
#include "text/SingleByte.h"

#include <QByteArrayView>
#include <QDirIterator>
#include <QFile>
#include <QSet>

#include <cstddef>
#include <cstdint>

using namespace barlink;

namespace {

// The content of a file; a null array when there is none.
QByteArray contentOf(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    return bytes.isNull() ? QByteArray("") : bytes;
}

QSet<QString> filesUnder(const QString &folder)
{
    QSet<QString> files;
    QDirIterator it(
        folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.insert(QDir::cleanPath(it.next()));
    return files;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::StationPlan plan = fuzz::StationPlan::take(data, size);
    const QString label = text::fromSingleByte(QByteArrayView(data, qsizetype(size)));
    if (!label.contains(program::programlabel::Separator))
        return -1; // not one for this handler: kept out of the corpus
    fuzz::FuzzStation rig(plan);
    app::Station &station = rig.station();

    // The program file the label would write, and what it holds now.
    const program::ProgramLabel parsed = program::parseProgramLabel(label);
    testing::ScriptedPrompter quiet;
    QString name;
    QString path;
    if (parsed.form == program::ProgramLabel::Form::Program
        && parsed.programText.size() > program::programlabel::UnsavedTextLength) {
        name = text::splitFields(parsed.header, u"^").field(1);
        path = program::ProgramFileReader(station.settings(), quiet).programFilePath(name);
    }
    const QByteArray before = path.isEmpty() ? QByteArray() : contentOf(path);
    QSet<QString> allowed = filesUnder(station.settings().gcodePath);

    app::StationProbe(station).programBarcode().interpretProgramBarcode(label);
    // The handler sends rows but never answers the scanner.
    rig.checkAfterInput(0);

    if (!path.isEmpty()) {
        const QByteArray after = contentOf(path);
        const QByteArray whole = text::toSingleByte(parsed.programText) + "\r\n";
        fuzz::check(after == before || after == whole,
                    "a program file is as it was or holds the whole program",
                    path);
        const bool replaces = station.options().overwrite() || before.isEmpty();
        const QString status = app::StationProbe(station).context().display.status();
        // Refused: a name outside the folder, or a name or dimension that would break the row.
        const bool refused
            = status.contains(QLatin1String(" refused: "))
              || status.startsWith(program::ProgramBarcode::abandonedText({}).english());
        fuzz::check(!replaces || refused || after == whole,
                    "a program neither refused nor abandoned is saved",
                    path);
        allowed.insert(QDir::cleanPath(path));
    }
    const QSet<QString> now = filesUnder(station.settings().gcodePath);
    for (const QString &file : now)
        fuzz::check(allowed.contains(file), "no other file appears in the g-code folder", file);
    return 0;
}
