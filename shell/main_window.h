#pragma once
// The main window: its children, its modes, the command switch and the exit
// sequence.

#include <QHash>
#include <QMainWindow>

class QAction;
class QStackedWidget;

namespace belvorine {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    // What the creation of the window does before it is shown: prepares the
    // order data and today's order. Returns 1 on success; on failure the
    // error has been shown and the exit sequence has run.
    int create();

    // Runs command `id` (40001 to 40026) as a menu item, tool-bar button or
    // accelerator would.
    void command(int id);

    // The action that delivers command `id`.
    QAction* action(int id) const;

    // The caption "ベルヴォリン --- <format name>" of the current format.
    static QString captionText();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildActions();
    void buildMenuBar();
    void openHelp();
    void confirmExit();
    void runExitSequence();
    void rememberGeometry();

    QHash<int, QAction*> actions_;
    QStackedWidget* mainArea_;
    bool exitSequenceDone_ = false;
};

}  // namespace belvorine
