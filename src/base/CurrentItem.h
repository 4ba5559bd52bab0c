#pragma once

#include <QString>

#include <array>

namespace barlink::base {

// The one machine item being collected from scanned labels, and the label state
// kept between labels. Filled by the label dispatcher and the program barcode
// handler, read by the list row builder; blanked by resetItem() after each item.
struct CurrentItem
{
    // The eight item variables, in this order (there is no H).
    static constexpr std::array<char, 8> VarLetters = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'I'};

    QString programName;
    QString itemComment;
    QString itemRepeat;
    QString itemCount;
    QString runField;
    QString dimX;
    QString dimY;
    QString dimZ;
    std::array<QString, 8> itemVars;
    QString itemExtra;
    // List-row values 282 and 223: a single space after a reset, set by no label.
    QString rowValue282;
    QString rowValue223;

    // Label state shared with the dispatcher, the mirror match and the setup dialog.
    QString programComment;
    bool runFieldFixed = false;
    bool clearListPending = false;
    QString lastProgramName;
    QString lastProgramComment;

    // Blanks the item; leaves programComment, runFieldFixed, lastProgramName,
    // lastProgramComment and clearListPending alone.
    void resetItem();

    // The variable with the given letter (A-G, I); nullptr for another letter.
    [[nodiscard]] QString *itemVar(QChar letter);
};

} // namespace barlink::base
