#pragma once

// What the label rigs share: the field selection keys most tests use and list rows in short.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace barlink::testing {

// Field codes for the automatic selection: S for a piece within the half limits of 1000 by
// 600, N otherwise; A and M for the mirrored piece.
inline const QByteArray SelectionKeys = "FieldCode_FFS=S\r\nFieldFlag_FFS= 1\r\nFieldCode_FFA=A\r\n"
                                        "FieldFlag_FFA= 1\r\nFieldCode_SFN=N\r\nFieldCode_SFM=M\r\n"
                                        "HalfLimitX=1000\r\nHalfLimitY=600\r\n";
// Norm and mirror for program names that begin with "MIR".
inline const QByteArray MirrorKeys = "AutoSelSetting=1\r\nPNameMSel=0\r\nPNameNandMText=MIR\r\n"
                                     "PNameNandMLR=-1\r\nPNameNandMCPos=1\r\n";

// One field of a list row: rowField("#161=A.CNC;#171=3;", 171) is "3"; null when missing.
inline QString rowField(const QString &row, int number)
{
    const QString key = QLatin1Char('#') + QString::number(number) + QLatin1Char('=');
    const qsizetype at = row.indexOf(key);
    if (at < 0)
        return {};
    const qsizetype start = at + key.size();
    return row.mid(start, row.indexOf(QLatin1Char(';'), start) - start);
}

// Rows in short: program, work field, dimensions, repeat and, when not blank, the comment:
// "PROG.CNC f7 600x400x18 r1 c:LEFT DOOR".
inline QStringList rowSummaries(const QStringList &rows)
{
    QStringList list;
    for (const QString &row : rows) {
        const auto f = [&row](int number) { return rowField(row, number); };
        list << QStringLiteral("%1 f%2 %3x%4x%5 r%6")
                        .arg(f(161), f(171), f(168), f(169), f(170), f(164))
                    + (f(162).trimmed().isEmpty() ? QString() : QStringLiteral(" c:") + f(162));
    }
    return list;
}

} // namespace barlink::testing
