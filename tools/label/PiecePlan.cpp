#include "PiecePlan.h"

#include "label/FieldCodes.h"

#include <QRegularExpression>

#include <algorithm>

namespace barlink::labeltool {

namespace {

using C = CuttingColumn;

constexpr int MaxQuantity = 9999;

// ";" separates the fields of the list manager's rows and list files; a control character
// would change what the scanner sends.
QString nameProblem(const QString &what, const QString &text)
{
    if (text.contains(QLatin1Char(';')))
        return QStringLiteral("%1 holds ';'").arg(what);
    if (std::any_of(
            text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return QStringLiteral("%1 holds a control character").arg(what);
    return {};
}

// A dimension as the barcode carries it: a decimal number with "." (a "," from a list
// written with a German or Italian locale becomes "."), no exponent, which the station would
// read differently.
std::optional<QString> dimension(const QString &text)
{
    static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+([.,]\d*)?|[.,]\d+)$)"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    QString value = text;
    value.replace(QLatin1Char(','), QLatin1Char('.'));
    return value;
}

PieceOutcome refusal(const QString &reason)
{
    PieceOutcome outcome;
    outcome.refusal = reason.endsWith(QLatin1Char('.')) ? reason.chopped(1) : reason;
    return outcome;
}

} // namespace

PieceOutcome planPiece(const CuttingRow &row,
                       const std::optional<QByteArray> &programFile,
                       const FitsOnLabel &fits)
{
    PiecePlan plan;
    plan.row = row;
    const QString &name = row.value(C::Name);
    plan.program = row.value(C::Program).isEmpty() ? name : row.value(C::Program);
    if (plan.program.isEmpty())
        return refusal(QStringLiteral("has neither name nor program"));
    for (const auto &[what, text] : {std::pair{"name", name}, {"program", row.value(C::Program)}}) {
        const QString problem = nameProblem(QLatin1String(what), text);
        if (!problem.isEmpty())
            return refusal(problem);
    }

    const QString &quantity = row.value(C::Quantity);
    if (!quantity.isEmpty()) {
        bool isNumber = false;
        plan.quantity = quantity.toInt(&isNumber);
        if (!isNumber || plan.quantity < 1 || plan.quantity > MaxQuantity)
            return refusal(
                QStringLiteral("quantity is no whole number from 1 to %1").arg(MaxQuantity));
    }

    const QString field = row.value(C::Field).toUpper();
    if (!field.isEmpty() && !label::FieldCodes::isFieldCode(field))
        return refusal(
            QStringLiteral("work field \"%1\" is no work field code").arg(row.value(C::Field)));

    bool anyDimension = false;
    for (const auto &[column, letter, target] :
         {std::tuple{C::X, "X", &plan.x}, {C::Y, "Y", &plan.y}, {C::Z, "Z", &plan.z}}) {
        const QString &text = row.value(column);
        if (text.isEmpty())
            continue;
        const std::optional<QString> value = dimension(text);
        if (!value)
            return refusal(QStringLiteral("%1 is not a number").arg(QLatin1String(letter)));
        *target = *value;
        anyDimension = true;
    }

    LabelText first;
    if (programFile) {
        plan.kind = PiecePlan::Kind::ProgramBarcode;
        QList<HeaderField> fields;
        if (!field.isEmpty())
            fields.append({QLatin1Char('U'), field});
        for (const auto &[letter, value] : {std::pair{'X', plan.x}, {'Y', plan.y}, {'Z', plan.z}}) {
            if (!value.isEmpty())
                fields.append({QLatin1Char(letter), value});
        }
        first = programBarcodeLabel(plan.program, fields, *programFile);
        if (first.ok() && !fits(first)) {
            const QString plain = first.text;
            first = compressedLabel(first);
            plan.compressed = true;
            if (first.ok() && !checkAgainstDecoder(first, plain).isEmpty())
                first.error = QStringLiteral("the compressed program does not decode");
            if (first.ok() && !fits(first))
                return refusal(QStringLiteral("program is too long for the label even compressed"));
        }
        if (!first.ok())
            return refusal(first.error);
        plan.symbols << first;
        return PieceOutcome{plan, {}};
    }

    if (field.isEmpty() && !anyDimension) {
        plan.kind = PiecePlan::Kind::Name;
        first = programNameLabel(plan.program);
        // The default work field is the station's business, not a problem of the list.
        first.notes.clear();
    } else {
        plan.kind = PiecePlan::Kind::Segments;
        const int count = anyDimension ? 2 : 1;
        first
            = segmentLabel(1, count, {plan.program, field.isEmpty() ? QStringLiteral("P") : field});
        if (first.ok() && anyDimension) {
            for (QString *value : {&plan.x, &plan.y, &plan.z}) {
                if (value->isEmpty())
                    *value = QStringLiteral("0");
            }
            const LabelText dims = segmentLabel(2, count, {plan.x, plan.y, plan.z});
            if (!dims.ok())
                return refusal(dims.error);
            plan.symbols << first << dims;
        }
    }
    if (!first.ok())
        return refusal(first.error);
    if (plan.symbols.isEmpty())
        plan.symbols << first;
    return PieceOutcome{plan, {}};
}

QStringList pieceLines(const PiecePlan &plan, int copy)
{
    const CuttingRow &row = plan.row;
    const auto joined = [](QStringList parts) {
        parts.removeAll(QString());
        return parts.join(QStringLiteral("   "));
    };
    QString dimensions;
    if (!row.value(C::X).isEmpty() || !row.value(C::Y).isEmpty() || !row.value(C::Z).isEmpty()) {
        dimensions = QStringList{row.value(C::X), row.value(C::Y), row.value(C::Z)}.join(
            QStringLiteral(" \u00d7 "));
    }
    const QString &field = row.value(C::Field);
    return {row.value(C::Name).isEmpty() ? plan.program : row.value(C::Name),
            joined({dimensions, row.value(C::Material)}),
            joined({field.isEmpty() ? QString() : QStringLiteral("Field %1").arg(field.toUpper()),
                    plan.program}),
            joined({row.value(C::Order), QStringLiteral("%1 of %2").arg(copy).arg(plan.quantity)})};
}

} // namespace barlink::labeltool
