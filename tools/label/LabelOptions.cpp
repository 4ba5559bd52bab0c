#include "LabelOptions.h"

#include "program/ProgramBarcode.h"

#include <QCommandLineParser>

namespace barlink::labeltool {

namespace {

const QString Description = QStringLiteral(R"(
Makes one label for the Barlink station: the exact text its scanner must deliver,
and, with --output, a barcode image of it (PNG or SVG) ready for the label layout.

KIND and VALUES say what the label does:

  command NAME           a list command: START, STOP, END, CLEAR, SETPOINT or
                         SETP.                              Text: %START%
  field CODE             the work field of the next item: N, N1, N/, N1/, N/0,
                         N/1, and the same with M, S, A, T and R.   Text: %N%
  name PROGRAM           a program name alone; the station needs a work field
                         for it (a field label scanned first, or its defaults).
                                                            Text: PANEL
  segment TYPE VALUES    one of the labels that together make one item:
                           segment program NAME [FIELD [EXTRA]]    (type 1)
                           segment dims X Y Z                      (type 2)
                           segment vars-ad A B C D                 (type 3)
                           segment vars-ei E F G I                 (type 4)
                           segment list NAME  (type 0: load a list file)
                         Give every label of one item the same --count: the
                         number of segment labels it is made of.
                                                            Text: %12PROG.CNC N1 X
  program NAME FILE      a program barcode: the station saves the program FILE
                         as NAME in its g-code folder and adds the item to the
                         list. Header values: --field --x --y --z --var --extra.
                                                            Text: PROG1^X800^Z18!...
  list NAME              a list label: the list manager opens the list NAME.
                                                            Text: *%00NAME^^
  bare                   sends the item collected so far.   Text: ^

Symbols: Code 128 for short labels of plain characters, Data Matrix for program
barcodes, list labels, compressed labels and anything with other characters
(--symbol pdf417 where a PDF417 reader is in use). A Data Matrix holds at most
about 1550 bytes: for a longer program use --compress.

The scanner must send the label's bytes unchanged. For program barcodes and
list labels set it to add no suffix (no CR or LF after the data).

Labels for a whole cutting list: barlink-label --sheet LIST.csv -o labels.pdf
  LIST.csv has a header row and one row per piece; fields separated by comma or
  semicolon, quoted as RFC 4180 says; UTF-8 or Windows-1252. Columns, by name
  such as these, in English, German or Italian (letter case, blanks and
  punctuation aside):
    name      name, piece, part, Teil, Bezeichnung, nome, pezzo
    program   program, prog, programma (blank: the piece name)
    X Y Z     length, width, thickness; Laenge, Breite, Dicke;
              lunghezza, larghezza, spessore (decimals with . or ,)
    field     field, work field, Arbeitsfeld, campo: a work field code
    quantity  quantity, qty, Anzahl, Menge, quantita (blank: 1)
    material  material, Werkstoff, materiale
    comment   comment, Bemerkung, commento
    order     order, customer, Auftrag, Kunde, ordine, cliente, commessa
  Other columns are ignored and named once. Each row gives QUANTITY labels
  with the piece name large, X x Y x Z, material, work field, program, order
  and "3 of 12". What the barcode holds, per row:
    program barcode  with --programs DIR and the program file DIR/PROGRAM (or
                     PROGRAM.CNC): name, work field and dimensions, then the
                     program; compressed when it would not fit the label.
    segment labels   otherwise, with a work field or a dimension: the program
                     and its work field (P, the station's choice by size, when
                     none) and, with dimensions, a second symbol X Y Z (a
                     missing one as 0: the station reads it from the program).
    plain name       otherwise: the program name; the station's default work
                     field applies.
  Code 128 when the symbols fit across at modules of 0.25 mm or more, else
  Data Matrix at 0.33 mm or more. A row the station would refuse is left out
  and named with its line: a name or program with ';' or a control character,
  a dimension that is no number, no work field code, a quantity that is no
  whole number, a program too long for the label even compressed.
    .pdf             sheets (--layout), or a roll with --label.
    .zpl             a roll for thermal printers (--dpi 203 or 300, --label,
                     default 100x50mm).
  Layouts:
    a4-3x8           A4, 3 x 8 labels of 70 x 37 mm (the default).
    a4-2x7           A4, 2 x 7 labels of 99.1 x 38.1 mm.
    letter-3x10      Letter, 3 x 10 labels of 66.7 x 25.4 mm.
  Exit status of --sheet:
    0                every row made its labels.
    1 to 99          that many rows were left out (99: 99 or more).
    100              nothing was written: the list could not be read, no row
                     made a label, the output could not be written, or an
                     option was wrong.)");

const QString Examples = QStringLiteral(R"(
Examples:
  barlink-label command START -o start.png
  barlink-label field N1 -o n1.svg
  barlink-label segment program PROG.CNC N1 X --count 2 -o part1.png
  barlink-label segment dims 600 400 18 --count 2 -o part2.png
  barlink-label program PROG1 prog1.cnc -x 800 -y 600 -z 18 -o prog1.png
  barlink-label program BIG big.cnc --field N --compress -o big.png
  barlink-label list PANELS --text panels.lbl
  barlink-label name PANEL > panel.lbl
  barlink-label --sheet cutlist.csv --programs cnc/ -o labels.pdf
  barlink-label --sheet cutlist.csv --label 100x50mm --dpi 300 -o labels.zpl
)");

struct KindShape
{
    const char *name;
    qsizetype least;
    qsizetype most;
    const char *usage;
};

const KindShape Kinds[] = {
    {"command", 1, 1, "command NAME"},
    {"field", 1, 1, "field CODE"},
    {"name", 1, 1, "name PROGRAM"},
    {"segment", 2, 5, "segment TYPE VALUES..."},
    {"program", 2, 2, "program NAME FILE"},
    {"list", 1, 1, "list NAME"},
    {"bare", 0, 0, "bare"},
};

const KindShape *kindShape(const QString &kind)
{
    for (const KindShape &shape : Kinds) {
        if (kind == QLatin1String(shape.name))
            return &shape;
    }
    return nullptr;
}

LabelCommandLine failed(const QString &error)
{
    LabelCommandLine result;
    result.error = error;
    return result;
}

struct SheetOptions
{
    QCommandLineOption output, sheet, programs, layout, label, dpi;
};

LabelCommandLine parseSheetOptions(const QCommandLineParser &parser, const SheetOptions &o)
{
    if (!parser.positionalArguments().isEmpty())
        return failed(QStringLiteral("--sheet makes the labels of a cutting list: no label KIND"));
    LabelRequest request;
    request.sheet = parser.value(o.sheet);
    request.imagePath = parser.value(o.output);
    request.programsDir = parser.value(o.programs);
    const QString suffix = request.imagePath.section(QLatin1Char('.'), -1).toLower();
    const bool zpl = suffix == QLatin1String("zpl");
    if (request.imagePath.isEmpty() || (!zpl && suffix != QLatin1String("pdf")))
        return failed(QStringLiteral("--sheet needs --output FILE.pdf or FILE.zpl"));
    if (parser.isSet(o.layout) && parser.isSet(o.label))
        return failed(QStringLiteral("--layout (a sheet) or --label (a roll), not both"));
    if (parser.isSet(o.layout)) {
        request.layout = sheetLayout(parser.value(o.layout));
        if (!request.layout)
            return failed(QStringLiteral("--layout takes a4-3x8, a4-2x7 or letter-3x10"));
        if (zpl)
            return failed(QStringLiteral("ZPL is for a roll: give --label WxHmm, not --layout"));
    } else if (parser.isSet(o.label) || zpl) {
        request.layout = rollLayout(parser.isSet(o.label) ? parser.value(o.label)
                                                          : QStringLiteral("100x50mm"));
        if (!request.layout)
            return failed(QStringLiteral("--label takes WIDTHxHEIGHTmm, 20 to 300 mm each"));
    } else {
        request.layout = sheetLayouts().front();
    }
    if (parser.isSet(o.dpi)) {
        request.dpi = parser.value(o.dpi).toInt();
        if (!zpl || (request.dpi != 203 && request.dpi != 300))
            return failed(QStringLiteral("--dpi takes 203 or 300, for a .zpl output"));
    }
    LabelCommandLine result;
    result.request = request;
    return result;
}

} // namespace

LabelCommandLine parseLabelCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(Description);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write a barcode image to FILE (.png or .svg)."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption text(QStringLiteral("text"),
                                  QStringLiteral("Write the label's bytes to FILE (- for standard "
                                                 "output)."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption symbol(QStringLiteral("symbol"),
                                    QStringLiteral("code128, datamatrix or pdf417 instead of the "
                                                   "usual symbol."),
                                    QStringLiteral("NAME"));
    const QCommandLineOption scale(QStringLiteral("scale"),
                                   QStringLiteral("Size of one module, 1 = 2 pixels (default 2)."),
                                   QStringLiteral("N"));
    const QCommandLineOption compress(QStringLiteral("compress"),
                                      QStringLiteral("Write the label in compressed form."));
    const QCommandLineOption prefix(QStringLiteral("prefix209"),
                                    QStringLiteral("Put the scanner prefix in front: the character "
                                                   "with code 209, then these 7 characters."),
                                    QStringLiteral("CHARS"));
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("Segments: the number of segment labels of the "
                                                  "item, 1 to 4 (default 1)."),
                                   QStringLiteral("N"));
    const QCommandLineOption repeat(
        QStringLiteral("repeat"),
        QStringLiteral("Segments: the item is repeated 999 times and is "
                       "complete with this one label."));
    const QCommandLineOption field(QStringLiteral("field"),
                                   QStringLiteral("Program barcode: the work field (U), used when "
                                                  "no field label came first."),
                                   QStringLiteral("CODE"));
    const QCommandLineOption x(QStringLiteral("x"),
                               QStringLiteral("Program barcode: dimension X; leave out to have it "
                                              "read from the program."),
                               QStringLiteral("VALUE"));
    const QCommandLineOption y(QStringLiteral("y"),
                               QStringLiteral("Program barcode: dimension Y."),
                               QStringLiteral("VALUE"));
    const QCommandLineOption z(QStringLiteral("z"),
                               QStringLiteral("Program barcode: dimension Z (thickness)."),
                               QStringLiteral("VALUE"));
    const QCommandLineOption var(QStringLiteral("var"),
                                 QStringLiteral("Program barcode: an item variable, LETTER one of "
                                                "A B C D E F G I (repeat the option for more)."),
                                 QStringLiteral("LETTER=VALUE"));
    const QCommandLineOption extra(QStringLiteral("extra"),
                                   QStringLiteral("Program barcode: the extra text (V)."),
                                   QStringLiteral("TEXT"));
    const QCommandLineOption sheet(QStringLiteral("sheet"),
                                   QStringLiteral("Make the labels of every piece of the cutting "
                                                  "list LIST (CSV) into the --output file (.pdf "
                                                  "or .zpl)."),
                                   QStringLiteral("LIST"));
    const QCommandLineOption programs(QStringLiteral("programs"),
                                      QStringLiteral("Sheets: program barcodes for the rows whose "
                                                     "program file is in DIR."),
                                      QStringLiteral("DIR"));
    const QCommandLineOption layout(QStringLiteral("layout"),
                                    QStringLiteral("Sheets: a4-3x8, a4-2x7 or letter-3x10 "
                                                   "(default a4-3x8)."),
                                    QStringLiteral("NAME"));
    const QCommandLineOption label(QStringLiteral("label"),
                                   QStringLiteral("Sheets: one label of this size per page, for a "
                                                  "roll, e.g. 100x50mm."),
                                   QStringLiteral("WxHmm"));
    const QCommandLineOption dpi(QStringLiteral("dpi"),
                                 QStringLiteral("ZPL: the printer's resolution, 203 or 300 "
                                                "(default 203)."),
                                 QStringLiteral("N"));
    parser.addOptions({output,
                       text,
                       symbol,
                       scale,
                       compress,
                       prefix,
                       count,
                       repeat,
                       field,
                       x,
                       y,
                       z,
                       var,
                       extra,
                       sheet,
                       programs,
                       layout,
                       label,
                       dpi});
    parser.addPositionalArgument(QStringLiteral("KIND"),
                                 QStringLiteral("command, field, name, segment, program, list or "
                                                "bare."));
    parser.addPositionalArgument(QStringLiteral("VALUES"),
                                 QStringLiteral("What the label carries (see above)."),
                                 QStringLiteral("[VALUES...]"));

    if (!parser.parse(arguments))
        return failed(parser.errorText());
    if (parser.isSet(help)) {
        LabelCommandLine result;
        result.helpRequested = true;
        result.helpText = parser.helpText() + Examples;
        return result;
    }
    if (parser.isSet(version)) {
        LabelCommandLine result;
        result.versionRequested = true;
        return result;
    }

    if (parser.isSet(sheet))
        return parseSheetOptions(parser, {output, sheet, programs, layout, label, dpi});
    for (const QCommandLineOption &option : {programs, layout, label, dpi}) {
        if (parser.isSet(option))
            return failed(QStringLiteral("--%1 is for --sheet").arg(option.names().first()));
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return failed(QStringLiteral("say which label to make: command, field, name, segment, "
                                     "program, list or bare"));
    LabelRequest request;
    request.kind = positional.takeFirst();
    request.values = positional;
    const KindShape *shape = kindShape(request.kind);
    if (!shape)
        return failed(QStringLiteral("unknown label kind \"%1\"").arg(request.kind));
    if (request.values.size() < shape->least || request.values.size() > shape->most)
        return failed(QStringLiteral("usage: barlink-label %1").arg(QLatin1String(shape->usage)));

    const bool segment = request.kind == QLatin1String("segment");
    const bool program = request.kind == QLatin1String("program");
    if (!segment && (parser.isSet(count) || parser.isSet(repeat)))
        return failed(QStringLiteral("--count and --repeat are for segment labels"));
    for (const QCommandLineOption &option : {field, x, y, z, var, extra}) {
        if (!program && parser.isSet(option))
            return failed(
                QStringLiteral("--%1 is for program barcodes").arg(option.names().first()));
    }
    const bool toProgramHandler
        = program || request.kind == QLatin1String("list") || request.kind == QLatin1String("bare");
    if (parser.isSet(prefix) && !toProgramHandler)
        return failed(QStringLiteral("--prefix209 is for program barcodes, list labels and bare "
                                     "labels"));

    if (parser.isSet(count)) {
        bool isNumber = false;
        request.count = parser.value(count).toInt(&isNumber);
        if (!isNumber)
            return failed(QStringLiteral("--count takes a number from 1 to 4"));
    }
    request.repeat = parser.isSet(repeat);
    if (parser.isSet(scale)) {
        bool isNumber = false;
        request.scale = parser.value(scale).toFloat(&isNumber);
        if (!isNumber || !(request.scale > 0) || request.scale > 100)
            return failed(QStringLiteral("--scale takes a number above 0, at most 100"));
    }
    if (parser.isSet(symbol)) {
        request.symbology = symbologyFromName(parser.value(symbol));
        if (!request.symbology)
            return failed(QStringLiteral("--symbol takes code128, datamatrix or pdf417"));
    }
    request.compress = parser.isSet(compress);
    if (parser.isSet(prefix))
        request.prefix = parser.value(prefix);
    request.imagePath = parser.value(output);
    request.textPath = parser.value(text);

    // Header fields in the order the station reads them.
    const auto addField = [&request](QChar letter, const QString &value) {
        request.headerFields.append({letter, value});
    };
    if (parser.isSet(field))
        addField(QLatin1Char('U'), parser.value(field));
    if (parser.isSet(extra))
        addField(QLatin1Char('V'), parser.value(extra));
    for (const auto &[option, letter] : {std::pair{&x, 'X'}, {&y, 'Y'}, {&z, 'Z'}}) {
        if (parser.isSet(*option))
            addField(QLatin1Char(letter), parser.value(*option));
    }
    for (const QString &assignment : parser.values(var)) {
        const qsizetype equals = assignment.indexOf(QLatin1Char('='));
        const QString letter = assignment.left(equals).toUpper();
        if (equals != 1 || !QStringView(u"ABCDEFGI").contains(letter.front()))
            return failed(QStringLiteral("--var takes LETTER=VALUE with LETTER one of A B C D E F "
                                         "G I, not \"%1\"")
                              .arg(assignment));
        addField(letter.front(), assignment.mid(equals + 1));
    }

    LabelCommandLine result;
    result.request = request;
    return result;
}

LabelText composeLabel(const LabelRequest &request, const QByteArray &programFile)
{
    const QStringList &values = request.values;
    LabelText label;
    if (request.kind == QLatin1String("command")) {
        label = commandLabel(values.value(0));
    } else if (request.kind == QLatin1String("field")) {
        label = fieldCodeLabel(values.value(0));
    } else if (request.kind == QLatin1String("name")) {
        label = programNameLabel(values.value(0));
    } else if (request.kind == QLatin1String("segment")) {
        const int type = segmentType(values.value(0));
        if (type < 0) {
            label.error = QStringLiteral("\"%1\" is no segment type (list, program, dims, vars-ad, "
                                         "vars-ei or 0 to 4).")
                              .arg(values.value(0));
            return label;
        }
        label = segmentLabel(type, request.repeat ? 9 : request.count, values.mid(1));
    } else if (request.kind == QLatin1String("program")) {
        label = programBarcodeLabel(values.value(0), request.headerFields, programFile);
    } else if (request.kind == QLatin1String("list")) {
        label = listLabel(values.value(0));
    } else if (request.kind == QLatin1String("bare")) {
        label = bareItemLabel();
    } else {
        label.error = QStringLiteral("unknown label kind \"%1\".").arg(request.kind);
    }

    if (request.prefix)
        label = withScannerPrefix(label, *request.prefix);
    if (request.compress && label.ok()) {
        const QString plain = label.text;
        label = compressedLabel(label);
        if (label.ok()) {
            const QString mismatch = checkAgainstDecoder(label, plain);
            if (!mismatch.isEmpty())
                label.error = QStringLiteral("the compressed label does not decode: ") + mismatch;
        }
    }
    return label;
}

} // namespace barlink::labeltool
