#pragma once

#include "ConsoleSession.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLineEdit;
class QAbstractButton;

namespace Ui {
class TestConsoleWindow;
}

namespace barlink::base {
class ProductEnvironment;
class Prompter;
} // namespace barlink::base

namespace barlink::testconsole {

// "Runlist TEST": a developer's window that calls the list manager's members one at a
// time, through references of its own. An error a member raises is shown in a message box
// and the window goes on.
class TestConsoleWindow : public QWidget
{
    Q_OBJECT
public:
    TestConsoleWindow(listmanager::ListManagerProvider &provider,
                      const base::ProductEnvironment &product,
                      base::Prompter &prompter,
                      QWidget *parent = nullptr);
    ~TestConsoleWindow() override;

    [[nodiscard]] ConsoleSession &session() { return m_session; }

    // Shows the open dialog for a list file, starting in `folder`; returns the chosen file or
    // an empty text. A real file dialog unless replaced (tests answer it themselves).
    std::function<QString(const QString &folder)> chooseListFile;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Runs a button's action; an error it raises goes to the developer in a message box.
    void onClicked(QAbstractButton *button, std::function<void()> action);
    void browse(QLineEdit *target);
    // Puts the list file of this station's list folder in the list file boxes.
    void offerStationListFile();
    void connectApplicationButtons();
    void connectListButtons();
    QString defaultChooseListFile(const QString &folder);

    std::unique_ptr<Ui::TestConsoleWindow> m_ui;
    ConsoleSession m_session;
    const base::ProductEnvironment &m_product;
    base::Prompter &m_prompter;
};

} // namespace barlink::testconsole
