#pragma once
// The main window: its children top to bottom (menu bar and line, tool
// bars, the main area with the form view and the preview window in one
// place, status bar), its modes, the command switch and the exit sequence.

#include <QHash>
#include <QMainWindow>
#include <QTimer>

#include <memory>

class QAction;
class QStackedWidget;

namespace belvorine {

class FormView;
class JobWatch;
class Menus;
class PreviewWindow;
class StatusBar;
class ToolBars;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    // What the window's creation does: prepares the order data files,
    // loads the history and initialises today's order. Returns 1 on
    // success; on failure the numbered error has been shown and the exit
    // sequence has run.
    int create();

    // Runs command `id` (40001 to 40028) as a menu item, tool-bar button or
    // accelerator would.
    void command(int id);

    QAction* action(int id) const;
    FormView* formView() const { return formView_; }
    PreviewWindow* previewWindow() const { return preview_; }
    StatusBar* statusBar() const { return statusBar_; }
    ToolBars* toolBars() const { return toolBars_; }
    Menus* menus() const { return menus_.get(); }
    QWidget* mainArea() const;

    // The caption "ベルヴォリン --- <format name>" of the current format.
    static QString captionText();

    // Redraws the form view's page and refreshes the preview.
    void refreshViews();
    // Applies the mode to the tool-bar buttons.
    void updateButtons();

    // Ends the program in whatever mode it is, through the normal exit.
    void closeAfterError();
    // The same, asked from outside (a termination signal): a command under
    // way is ended first, so that a print never finds its history already
    // committed; its open dialog is closed.
    void requestExit();

signals:
    // The exit sequence has run: settings saved, history committed.
    void exited();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void runCommand(int id);
    void buildActions();
    void showModeView();
    void applyMode();
    void errorExit(int number);
    void internalErrorExit(QWidget* over);

    // Commands with more than a line of work.
    void print();
    void enterPreview();
    void leavePreview();
    void enterLayoutMode();
    void leaveLayoutMode();
    void leaveMode();
    void switchFormat();
    // After OK in the print setup or the page setup.
    void setupAccepted();
    void zoom(int delta);
    void toggleToolbar();
    void toggleStatusBar();
    void dataEntry();
    void editHistory();
    void openHelp();
    void confirmExit();

    void runExitSequence();
    void rememberGeometry();

    QHash<int, QAction*> actions_;
    std::unique_ptr<Menus> menus_;
    StatusBar* statusBar_;
    ToolBars* toolBars_;
    QStackedWidget* mainArea_;
    FormView* formView_;
    PreviewWindow* preview_;
    JobWatch* jobWatch_;  // the last job handed to a CUPS queue
    QTimer clock_;
    bool exitSequenceDone_ = false;
    int commandDepth_ = 0;  // commands under way (a dialog runs its own loop)
    bool exitRequested_ = false;
};

}  // namespace belvorine
