#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class AboutDialog;
}

namespace barlink::app {

// frmAbout: the program's name and version, and the machine controls it serves.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;

    // The version of this build, "major.minor.revision", from the build's project version.
    [[nodiscard]] static QString versionText();

private:
    std::unique_ptr<Ui::AboutDialog> m_ui;
};

} // namespace barlink::app
