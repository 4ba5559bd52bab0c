// Every window the operator can open speaks one language: in German and in Italian no text on
// it is an English text the translations change, nor English the translations do not know.
#include "StationWindows.h"
#include "app/MainWindow.h"
#include "app/PromptDialog.h"
#include "app/Station.h"
#include "app/TakeBack.h"
#include "base/DoubleScanGuard.h"
#include "scanner/ScanPoller.h"
#include "ui/Language.h"
#include "ui/MenuTextRoomStyle.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTimer>

using namespace barlink;
using namespace barlink::testing;

namespace {

// A text as it is compared: markup and entities read, no mnemonic marks.
QString plain(const QString &text)
{
    return QTextDocumentFragment::fromHtml(text).toPlainText().remove(u'&').trimmed();
}

QStringList wordsOf(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("\\p{L}{2,}"));
    QStringList words;
    for (auto match = word.globalMatch(text); match.hasNext();)
        words << match.next().captured().toLower();
    return words;
}

// What a translation file knows: the English texts it changes, and the words only English uses.
struct Catalogue
{
    QSet<QString> changed, englishOnly;
};

Catalogue catalogueOf(const QString &language)
{
    QFile file(QStringLiteral(BARLINK_SOURCE_DIR "/translations/barlink_%1.ts").arg(language));
    const QString ts = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "";
    static const QRegularExpression message(
        QStringLiteral("<source>(.*?)</source>.*?<translation[^>]*>(.*?)</translation>"),
        QRegularExpression::DotMatchesEverythingOption);
    Catalogue catalogue;
    QStringList translatedWords;
    for (const QRegularExpressionMatch &m : message.globalMatch(ts)) {
        const QString source = plain(m.captured(1)), translation = plain(m.captured(2));
        for (const QString &word : wordsOf(source))
            catalogue.englishOnly.insert(word);
        translatedWords << wordsOf(translation);
        if (translation != source)
            catalogue.changed.insert(source);
    }
    catalogue.englishOnly.subtract(QSet<QString>(translatedWords.begin(), translatedWords.end()));
    return catalogue;
}

// Why a text on the screen is not in the language, or nothing. Two English-only words in a row
// make English: a name or a code alone does not.
QString faultOf(const Catalogue &catalogue, const QString &shown)
{
    const QString text = plain(shown);
    if (catalogue.changed.contains(text))
        return QStringLiteral("untranslated: ") + text;
    const QStringList words = wordsOf(text);
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (catalogue.englishOnly.contains(words[i - 1])
            && catalogue.englishOnly.contains(words[i]))
            return QStringLiteral("English: ") + text;
    }
    return {};
}

// The texts a window shows: titles, captions, tips, tabs, items and headers of what is visible
// in it, and of its menus and their actions.
QStringList shownTexts(QWidget *window)
{
    QList<QObject *> objects = window->findChildren<QObject *>();
    objects.prepend(window);
    QStringList texts;
    for (const QObject *object : std::as_const(objects)) {
        const auto *widget = qobject_cast<const QWidget *>(object);
        if (qobject_cast<const QTextBrowser *>(object)
            || (widget && !qobject_cast<const QMenu *>(widget) && !widget->isVisibleTo(window)
                && widget != window))
            continue;
        for (const char *name : {"windowTitle", "title", "text", "placeholderText", "toolTip"}) {
            const QString text = object->property(name).toString();
            texts << QTextDocumentFragment::fromHtml(text).toPlainText().split(u'\n');
        }
        if (const auto *tabs = qobject_cast<const QTabBar *>(object)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        }
        if (const auto *combo = qobject_cast<const QComboBox *>(object)) {
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        }
        const auto *view = qobject_cast<const QAbstractItemView *>(object);
        if (view && view->model()) {
            for (int column = 0; column < view->model()->columnCount(); ++column)
                texts << view->model()->headerData(column, Qt::Horizontal).toString();
        }
    }
    return texts;
}

} // namespace

class tst_OneLanguage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsSpeakTheLanguage_data();
    void windowsSpeakTheLanguage();
    void menuTextsWhole();
};

void tst_OneLanguage::windowsSpeakTheLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("German") << "de";
    QTest::newRow("Italian") << "it";
}

void tst_OneLanguage::windowsSpeakTheLanguage()
{
    QFETCH(QString, language);
    const Catalogue catalogue = catalogueOf(language);
    QVERIFY(!catalogue.changed.isEmpty());
    const QByteArray before = qgetenv("LANGUAGE");
    qputenv("LANGUAGE", language.toUtf8());
    QCOMPARE(ui::installTranslations(*QCoreApplication::instance()), language);
    const auto restore = qScopeGuard([&] {
        qputenv("LANGUAGE", before);
        ui::removeTranslations(*QCoreApplication::instance());
    });

    QStringList faults;
    int looked = 0;
    const auto look = [&](QWidget *window) {
        window->show();
        ++looked;
        for (const QString &text : shownTexts(window)) {
            if (const QString fault = faultOf(catalogue, text); !fault.isEmpty())
                faults << QStringLiteral("%1: %2").arg(window->metaObject()->className(), fault);
        }
    };

    app::MainWindow main;
    // What the status line tells of the scanner and the settings, one after another.
    for (const QString &status :
         {app::PortControl::deviceLostText(QStringLiteral("/dev/ttyUSB0"),
                                           base::Reason(base::Reason::Code::DeviceDisconnected)),
          app::Station::settingsProblemsStatus(2),
          base::DoubleScanGuard::statusText(),
          scanner::ScanPoller::overflowText(70000)}) {
        main.setStatus(status);
        look(&main);
    }
    StationWindows windows;
    // The field selection with its trigger's own controls shown.
    windows.fields.settings().setSource(fieldsel::TriggerSource::ProgramName);
    windows.fields.settings().setTriggerText(QStringLiteral("XY"));
    for (const QString &name : StationWindows::Names)
        look(windows.make(name).get());
    const auto guide = windows.make(QStringLiteral("Guide"));
    QTextDocument english;
    english.setMarkdown(app::GuideWindow::guideText(QString()));
    QVERIFY2(guide->findChild<QTextBrowser *>()->toPlainText().left(200)
                 != english.toPlainText().left(200),
             "the guide is English");

    // The take-back question, a box with Qt's own Yes and No.
    QTimer::singleShot(0, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            look(box);
            box->close();
        }
    });
    (void)app::PromptDialog().ask(
        base::Prompter::Icon::Question, base::Prompter::Buttons::YesNo, app::TakeBack::question());
    QCOMPARE(looked, 4 + StationWindows::Names.size() + 1);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

// A menu at 300% drawn with more room than it asks for looks the same where its texts are:
// nothing of them was cut to fit.
void tst_OneLanguage::menuTextsWhole()
{
    ui::MenuTextRoomStyle style;
    const auto drawn = [&](int extraWidth) {
        QMenu menu;
        menu.setStyle(&style);
        QFont font = menu.font();
        font.setPointSizeF(font.pointSizeF() * 3);
        menu.setFont(font);
        menu.addAction(QStringLiteral("&Impostazioni"));
        menu.addAction(QStringLiteral("Scelta &automatica campo"));
        menu.setMinimumWidth(menu.sizeHint().width() + extraWidth);
        menu.resize(menu.sizeHint().expandedTo(menu.minimumSize()));
        QImage image(menu.size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        menu.render(&image);
        return image;
    };
    const QImage asked = drawn(0);
    const QImage roomy = drawn(200);
    // The right frame moves with the width: compare what lies left of it.
    const QRect texts(0, 0, asked.width() - 8, asked.height());
    QVERIFY(!asked.isNull());
    QCOMPARE(roomy.copy(texts), asked.copy(texts));
}

QTEST_MAIN(tst_OneLanguage)
#include "tst_onelanguage.moc"
