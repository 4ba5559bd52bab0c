#pragma once

#include "base/Reasons.h"

#include <QString>
#include <QStringView>

namespace barlink::base {

// Names that come from a label (a program name, a list name) are put after a folder
// setting; they must stay inside that folder. Refused: an absolute name ("/x", "\x",
// "\\server\share"), a drive ("C:\x", "C:x"), and any ".." component, "/" and "\" both
// counting as separators. A component of dots and blanks only with two or more dots
// (".. ", "...") is refused too, as Windows reads it as "..". A plain relative name into
// a subfolder ("sub/PROG.CNC", "sub\PROG.CNC") is allowed. An empty name counts as safe:
// the callers deal with it.
[[nodiscard]] bool isSafeRelativeName(QStringView name);

// The status line text shown when a label's name is refused:
// "Name refused: <name> reaches outside its folder."
[[nodiscard]] Reason unsafeNameMessage(const QString &name);

// Why a program name from a label is refused, for the status line and the journal; empty
// when it is not. A program name names a file in its folder and goes into its list row: it is
// refused when, trimmed of spaces, it is not isSafeRelativeName (unsafeNameMessage), and when
// it holds ";" or a control character (base::rowValueRefusal), which would write a file of
// another name than the row says, or add fields to the row.
[[nodiscard]] Reason programNameRefusal(const QString &name);

// The path of relativeName in folder, found the way a Windows user expects. The folder
// is a plain prefix (it normally ends with the separator: "/data/lsx/" + "PANEL1.LST").
// Where the file system tells names apart by case, "\" in relativeName separates folders
// as "/" does, and each component after the folder's last separator is looked up in turn:
// the exact spelling first, else an entry of the same name in another letter case (the
// first in name order when there are several). When some component has no match, the
// path is returned as built (folder + relativeName, separators made "/"), so a message
// about a missing file names it as the label gave it. On Windows the built path as it is.
[[nodiscard]] QString resolveFileName(const QString &folder, const QString &relativeName);

} // namespace barlink::base
