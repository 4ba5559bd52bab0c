#include "TestConsoleWindow.h"
#include "ui_TestConsoleWindow.h"

#include "base/Error.h"
#include "base/ProductEnvironment.h"
#include "base/Prompter.h"
#include "listmanager/Application.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QStyle>

#include <algorithm>

namespace barlink::testconsole {

namespace {

QString booleanText(bool value)
{
    return value ? QCoreApplication::translate("TestConsoleWindow", "True")
                 : QCoreApplication::translate("TestConsoleWindow", "False");
}

// Makes an answer box wide enough for the widest of its answers: the grid would otherwise
// squeeze it below its text ("alse" for "False"). The width follows the box's font.
void fitAnswers(QLineEdit &box, const QStringList &answers)
{
    int widest = 0;
    for (const QString &answer : answers)
        widest = std::max(widest, box.fontMetrics().horizontalAdvance(answer));
    const QMargins margins = box.textMargins();
    // The frame and the two-pixel margin the box keeps on each side of its text.
    const int width = widest + margins.left() + margins.right() + 2 * 2
                      + 2 * box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &box);
    box.setMinimumWidth(width);
    box.setMaximumWidth(std::max(box.maximumWidth(), width));
}

} // namespace

TestConsoleWindow::TestConsoleWindow(listmanager::ListManagerProvider &provider,
                                     const base::ProductEnvironment &product,
                                     base::Prompter &prompter,
                                     QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_ui(std::make_unique<Ui::TestConsoleWindow>())
    , m_session(provider)
    , m_product(product)
    , m_prompter(prompter)
{
    m_ui->setupUi(this);
    fitAnswers(*m_ui->txtListInRun, {booleanText(true), booleanText(false)});
    // Counts and row numbers of up to seven digits.
    for (QLineEdit *box : {m_ui->txtListOpened,
                           m_ui->txtColumns,
                           m_ui->txtRows,
                           m_ui->txtRepetition,
                           m_ui->txtExeRow})
        fitAnswers(*box, {QStringLiteral("-000000")});
    chooseListFile = [this](const QString &folder) { return defaultChooseListFile(folder); };

    offerStationListFile();

    connectApplicationButtons();
    connectListButtons();
}

TestConsoleWindow::~TestConsoleWindow() = default;

void TestConsoleWindow::onClicked(QAbstractButton *button, std::function<void()> action)
{
    connect(button, &QAbstractButton::clicked, this, [this, action = std::move(action)] {
        try {
            action();
        } catch (const base::Error &error) {
            m_prompter.inform(base::Prompter::Icon::Critical, base::unexpectedErrorText(error));
        } catch (const std::exception &error) {
            m_prompter.inform(base::Prompter::Icon::Critical,
                              base::unexpectedErrorText(base::Error::AutomationError,
                                                        QString::fromLocal8Bit(error.what())));
        }
    });
}

void TestConsoleWindow::connectApplicationButtons()
{
    auto &ui = *m_ui;
    auto application = [this]() -> listmanager::Application & { return m_session.application(); };

    onClicked(ui.cmdAppInit, [this] { m_session.appInit(); });
    onClicked(ui.cmdAppTerminate, [this] { m_session.appTerminate(); });
    onClicked(ui.cmdAppQuit, [this] { m_session.quit(); });
    onClicked(ui.cmdAppVisible,
              [application] { application().setVisible(!application().visible()); });
    onClicked(ui.cmdAppConnected, [this, application] {
        m_prompter.inform(base::Prompter::Icon::None, booleanText(application().connected()));
    });
    onClicked(ui.cmdAppAccessLevel, [this, application] {
        m_prompter.inform(base::Prompter::Icon::None, QString::number(application().accessLevel()));
    });
    onClicked(ui.cmdAppMax,
              [application] { application().setWindowState(listmanager::WindowState::Maximized); });
    onClicked(ui.cmdAppMinimize,
              [application] { application().setWindowState(listmanager::WindowState::Minimized); });
    onClicked(ui.cmdAppNormal,
              [application] { application().setWindowState(listmanager::WindowState::Normal); });
    onClicked(ui.cmdListOpened, [this, application] {
        m_ui->txtListOpened->setText(QString::number(application().listOpened()));
    });
    onClicked(ui.cmdInit, [this] { m_session.newList(); });
    onClicked(ui.cmdNewList, [this] { m_session.newList(); });
    onClicked(ui.cmdAppOpenLst, [this] { m_session.openList(m_ui->txtAppLstName->text()); });
    onClicked(ui.cmdListBrowse, [this] { browse(m_ui->txtAppLstName); });
    onClicked(ui.cmdStartList, [application] { application().startList(); });
    onClicked(ui.cmdHoldList, [application] { application().holdList(); });
    onClicked(ui.cmdListEnd, [application] { application().endList(); });
    onClicked(ui.cmdSetp, [application] { application().setpoint(); });
    onClicked(ui.cmdEnableOpenList, [application] { application().enableOpenList(true); });
    onClicked(ui.cmdDisableOpenList, [application] { application().enableOpenList(false); });
    onClicked(ui.cmdEnableSaveList, [application] { application().enableSaveList(true); });
    onClicked(ui.cmdDisableSaveList, [application] { application().enableSaveList(false); });
    onClicked(ui.cmdEnableNewList, [application] { application().enableNewList(true); });
    onClicked(ui.cmdDisableNewList, [application] { application().enableNewList(false); });
    onClicked(ui.cmdShowOnTop, [application] { application().showOnTop(true); });
    onClicked(ui.cmdShowNoOnTop, [application] { application().showOnTop(false); });
}

void TestConsoleWindow::connectListButtons()
{
    auto &ui = *m_ui;
    auto exeList = [this]() -> listmanager::ExeList & { return m_session.list(); };

    onClicked(ui.cmdTerminate, [this] { m_session.listTerminate(); });
    onClicked(ui.cmdListClose, [this] { m_session.listClose(); });
    onClicked(ui.cmdListVisible, [exeList] { exeList().setVisible(!exeList().visible()); });
    onClicked(ui.cmdListInRun,
              [this, exeList] { m_ui->txtListInRun->setText(booleanText(exeList().listInRun())); });
    onClicked(ui.cmdCols,
              [this, exeList] { m_ui->txtColumns->setText(QString::number(exeList().columns())); });
    onClicked(ui.cmdRows,
              [this, exeList] { m_ui->txtRows->setText(QString::number(exeList().rows())); });
    onClicked(ui.cmdNumRep, [this, exeList] {
        m_ui->txtRepetition->setText(QString::number(exeList().repetitions()));
    });
    onClicked(ui.cmdExeRow,
              [this, exeList] { m_ui->txtExeRow->setText(QString::number(exeList().exeRow())); });
    onClicked(ui.cmdColInfo, [this, exeList] { m_ui->lstListInfo->addItems(exeList().colInfo()); });
    onClicked(ui.cmdAddLine, [this, exeList] { exeList().addLine(m_ui->txtAddLine->text()); });
    onClicked(ui.cmdDelLine,
              [this, exeList] { exeList().delLine(lineNumberOf(m_ui->txtDelLineNumber->text())); });
    onClicked(ui.cmdSetLine, [this, exeList] {
        exeList().setLine(lineNumberOf(m_ui->txtSetLineNumber->text()), m_ui->txtSetLine->text());
    });
    onClicked(ui.cmdGetLine, [this, exeList] {
        m_ui->txtGetLine->setText(exeList().getLine(lineNumberOf(m_ui->txtGetLineNumber->text())));
    });
    onClicked(ui.cmdAppendList,
              [this, exeList] { exeList().appendList(m_ui->txtListName->text()); });
    onClicked(ui.cmdListAppendBrowse, [this] { browse(m_ui->txtListName); });
    onClicked(ui.cmdClearList, [exeList] { exeList().clearList(); });
    onClicked(ui.cmdViewWorks, [exeList] { exeList().viewWorks(); });
    onClicked(ui.cmdViewWorksThrought, [exeList] { exeList().viewWorksThrought(); });
}

void TestConsoleWindow::browse(QLineEdit *target)
{
    const QString chosen = chooseListFile(listFolderIn(m_product.productFolder()));
    // A cancelled dialog leaves the box as it was.
    if (!chosen.isEmpty())
        target->setText(QDir::toNativeSeparators(chosen));
}

QString TestConsoleWindow::defaultChooseListFile(const QString &folder)
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("lst"));
    dialog.setNameFilters({tr("List files (*.lst *.LST)"), tr("All files (*)")});
    dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void TestConsoleWindow::closeEvent(QCloseEvent *event)
{
    m_session.dropAll();
    event->accept();
}

} // namespace barlink::testconsole
