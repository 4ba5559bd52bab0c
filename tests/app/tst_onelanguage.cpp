// Every window the operator can open speaks one language: in German and in Italian no text on
// it is an English text the translations change, nor English the translations do not know.
#include "Fakes.h"
#include "app/AboutDialog.h"
#include "app/GuideWindow.h"
#include "app/MainWindow.h"
#include "app/PortControl.h"
#include "app/PromptDialog.h"
#include "app/SettingsDialog.h"
#include "app/Station.h"
#include "app/TakeBack.h"
#include "app/TryWindow.h"
#include "base/CurrentItem.h"
#include "base/DoubleScanGuard.h"
#include "base/Settings.h"
#include "exclusion/ExclusionChoice.h"
#include "exclusion/ExclusionDialog.h"
#include "fieldsel/AutoSelSettings.h"
#include "fieldsel/FieldSelectionDialog.h"
#include "journal/ui/JournalWindow.h"
#include "scanner/ScanPoller.h"
#include "ui/Language.h"
#include "ui/MenuTextRoomStyle.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QXmlStreamReader>

using namespace barlink;
using namespace barlink::testing;

namespace {

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&')).trimmed();
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
class Catalogue
{
public:
    explicit Catalogue(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        QSet<QString> translatedWords;
        QXmlStreamReader xml(&file);
        QString source;
        QStringList translations;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == u"source")
                source = xml.readElementText();
            else if (xml.isStartElement() && xml.name() == u"translation")
                translations << xml.readElementText(QXmlStreamReader::IncludeChildElements);
            else if (xml.isEndElement() && xml.name() == u"message") {
                for (const QString &word : wordsOf(source))
                    m_englishWords.insert(word);
                for (const QString &translation : translations) {
                    for (const QString &word : wordsOf(translation))
                        translatedWords.insert(word);
                    if (withoutMnemonic(translation) != withoutMnemonic(source))
                        m_changed.insert(withoutMnemonic(source));
                }
                translations.clear();
            }
        }
        m_englishWords.subtract(translatedWords);
    }

    [[nodiscard]] bool isEmpty() const { return m_changed.isEmpty(); }

    // Why a text on the screen is not in the language, or nothing. Two English-only words in a
    // row make English: a name or a code alone does not.
    [[nodiscard]] QString fault(const QString &shown) const
    {
        const QString text = withoutMnemonic(shown);
        if (m_changed.contains(text))
            return QStringLiteral("untranslated: ") + text;
        const QStringList words = wordsOf(text);
        for (qsizetype i = 1; i < words.size(); ++i) {
            if (m_englishWords.contains(words[i - 1]) && m_englishWords.contains(words[i]))
                return QStringLiteral("English: ") + text;
        }
        return {};
    }

private:
    QSet<QString> m_changed;
    QSet<QString> m_englishWords;
};

Catalogue catalogueOf(const QString &language)
{
    return Catalogue(
        QStringLiteral(BARLINK_SOURCE_DIR "/translations/barlink_%1.ts").arg(language));
}

void addActions(const QList<QAction *> &actions, QStringList &texts)
{
    for (const QAction *action : actions) {
        texts << action->text() << action->toolTip();
        if (action->menu())
            addActions(action->menu()->actions(), texts);
    }
}

// The texts a window shows: its title, and captions, items, headers and tips of what is
// visible in it, its menus included.
QStringList shownTexts(QWidget *window)
{
    QStringList texts{window->windowTitle()};
    for (QMenu *menu : window->findChildren<QMenu *>()) {
        texts << menu->title();
        addActions(menu->actions(), texts);
    }
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window) || qobject_cast<QTextBrowser *>(widget))
            continue;
        texts << widget->toolTip();
        if (auto *label = qobject_cast<QLabel *>(widget))
            texts << QTextDocumentFragment::fromHtml(label->text()).toPlainText().split(u'\n');
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            texts << button->text();
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            texts << group->title();
        else if (auto *edit = qobject_cast<QLineEdit *>(widget))
            texts << edit->placeholderText();
        if (auto *tabs = qobject_cast<QTabWidget *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        }
        if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        }
        if (auto *view = qobject_cast<QAbstractItemView *>(widget); view && view->model()) {
            for (int column = 0; column < view->model()->columnCount(); ++column)
                texts << view->model()->headerData(column, Qt::Horizontal).toString();
        }
    }
    texts.removeAll(QString());
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
    QVERIFY(!catalogue.isEmpty());
    const QByteArray before = qgetenv("LANGUAGE");
    qputenv("LANGUAGE", language.toUtf8());
    QCOMPARE(ui::installTranslations(*QCoreApplication::instance()), language);
    const auto restore = qScopeGuard([&] {
        qputenv("LANGUAGE", before);
        ui::removeTranslations(*QCoreApplication::instance());
    });

    QStringList faults;
    const auto look = [&](QWidget *window) {
        window->show();
        for (const QString &text : shownTexts(window)) {
            if (const QString fault = catalogue.fault(text); !fault.isEmpty())
                faults << QStringLiteral("%1: %2").arg(window->metaObject()->className(), fault);
        }
    };

    const QTemporaryDir dir;
    base::Settings settings;
    settings.settingsFilePath = dir.filePath(QStringLiteral("KTQ.INI"));
    FakeDisplay display;
    FakeScannerPort port;
    ScriptedPrompter prompter;
    app::PortControl control(settings, port, display, prompter);

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
    app::SettingsDialog portSettings(settings, prompter, control);
    look(&portSettings);
    fieldsel::AutoSelSettings model;
    model.setSource(fieldsel::TriggerSource::ProgramName);
    model.setTriggerText(QStringLiteral("XY"));
    const base::CurrentItem item;
    fieldsel::FieldSelectionDialog fieldSelection(model, settings, item);
    look(&fieldSelection);
    journal::JournalWindow journal(dir.filePath(QStringLiteral("journal.sqlite")), QString());
    look(&journal);
    app::TryWindow tryWindow(dir.path(), dir.path());
    look(&tryWindow);
    app::AboutDialog about;
    look(&about);
    exclusion::ExclusionChoice exclusions(settings, display);
    exclusion::ExclusionDialog exclusionDialog(exclusions, prompter);
    look(&exclusionDialog);
    app::GuideWindow guide;
    look(&guide);
    const QString guideShown = guide.findChild<QTextBrowser *>()->toPlainText();
    QTextDocument english;
    english.setMarkdown(app::GuideWindow::guideText(QString()));
    QVERIFY2(guideShown.left(200) != english.toPlainText().left(200), "the guide is English");

    // The take-back question, a box with Qt's own Yes and No.
    app::PromptDialog boxes;
    bool boxSeen = false;
    QTimer::singleShot(0, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            boxSeen = true;
            look(box);
            box->close();
        }
    });
    (void)boxes.ask(
        base::Prompter::Icon::Question, base::Prompter::Buttons::YesNo, app::TakeBack::question());
    QVERIFY(boxSeen);

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
