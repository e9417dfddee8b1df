#pragma once
// The four tool bars (bands): main, page, close and layout. Which bands show
// follows the main area's mode; their tooltips are coloured per tool bar and
// the main and page tool bars put a longer description into the status bar.

#include <QHash>
#include <QObject>

class QAction;
class QMainWindow;
class QToolBar;

namespace belvorine {

class StatusBar;

enum Band { kMainBand = 0, kPageBand = 1, kCloseBand = 2, kLayoutBand = 3 };

class ToolBars : public QObject {
    Q_OBJECT
public:
    ToolBars(QMainWindow* window, const QHash<int, QAction*>& actions, StatusBar* status);

    // Shows the bands that the mode and the tool-bar switch call for.
    void updateBands();

    QToolBar* band(int index) const { return bands_[index]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolBar* makeBand(QMainWindow* window, int controlId, std::initializer_list<int> buttons,
                       const QColor& tipColor, bool describes);

    const QHash<int, QAction*>& actions_;
    StatusBar* status_;
    QToolBar* bands_[4];
};

}  // namespace belvorine
