#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QSize>

class QAction;
class QLabel;
class QStackedWidget;
class QTableView;

namespace barlink::base {
class Error;
}
namespace barlink::listmanager {
enum class WindowState; // int, as every scoped enum by default
}

namespace barlink::embeddedlist {

class ListStore;
class ListTableModel;

// The embedded list manager's window: the current list as a table, its run
// state, setpoint count and row count. It follows the switches the station
// sets through the Application object (Visible, WindowState, ShowOnTop, the
// Enable* commands); closing it hides the list manager, as Visible = False does.
class ListManagerWindow : public QMainWindow
{
    Q_OBJECT

public:
    // `store` must outlive the window. The window starts hidden; the owner shows
    // it when store->visible() holds, later changes are followed by themselves.
    explicit ListManagerWindow(ListStore *store, QWidget *parent = nullptr);

    // Places the window beside a station's window (anchor, its frame in screen coordinates)
    // so that it covers neither that window nor keptClear, at its usual size grown textScale
    // times, as large as the screen allows; the window keeps its visibility.
    void placeBeside(const QRect &anchor, const QRect &keptClear, double textScale);

    [[nodiscard]] QTableView *tableView() const { return m_table; }
    [[nodiscard]] ListTableModel *model() const { return m_model; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    static constexpr QSize UsualSize{900, 520};
    // A window's borders and title bar, in pixels, before the window manager has told them.
    static constexpr QSize FrameGuess{8, 32};

    void buildActions();
    // Rows as high as a line of the window's text, columns as wide as their headings.
    void fitToFont();
    void applyVisible(bool visible);
    void applyWindowState(listmanager::WindowState state);
    void applyShowOnTop(bool onTop);
    void applyListVisible(bool visible);
    void updateEnabledCommands();
    void updateRunState();
    void updateCounts();
    void viewWorks(bool throughout);
    void followNewRows();
    void newList();
    void openList();
    void saveList();
    void reportError(const base::Error &error);

    QPointer<ListStore> m_store;
    ListTableModel *m_model = nullptr;
    QStackedWidget *m_pages = nullptr;
    QTableView *m_table = nullptr;
    QLabel *m_runState = nullptr;
    QLabel *m_setpoints = nullptr;
    QLabel *m_rows = nullptr;
    QAction *m_newList = nullptr;
    QAction *m_openList = nullptr;
    QAction *m_saveList = nullptr;
    bool m_followPending = false;
};

} // namespace barlink::embeddedlist
