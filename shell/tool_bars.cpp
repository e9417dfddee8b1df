#include "shell/tool_bars.h"

#include <QAction>
#include <QHelpEvent>
#include <QMainWindow>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "widgets/commands.h"
#include "widgets/help.h"
#include "widgets/mode_state.h"
#include "shell/status_bar.h"
#include "shell/status_texts.h"

namespace belvorine {
namespace {

constexpr int kSeparator = 0;
const char kTipColorProperty[] = "tipColor";
const char kDescribesProperty[] = "describesInStatusBar";

// The tooltip colours of the original platform's 0x00BBGGRR values.
const QColor kLightGreen(0x80, 0xFF, 0x80);  // 0x80FF80
const QColor kLightCyan(0x80, 0xFF, 0xFF);   // 0xFFFF80
const QColor kTipText(0x0A, 0x0A, 0x0A);

}  // namespace

ToolBars::ToolBars(QMainWindow* window, const QHash<int, QAction*>& actions, StatusBar* status)
    : QObject(window), actions_(actions), status_(status) {
    bands_[kMainBand] = makeBand(window, 104,
                                 {kSeparator, kCmdPrintSetup, kCmdPrint, kCmdPreview, kSeparator,
                                  kCmdDataEntry, kCmdExistingData, kCmdCompanyProfile, kSeparator,
                                  kCmdSwitchFormat, kCmdPageSetup, kCmdLayoutStart, kSeparator,
                                  kCmdHelp, kSeparator},
                                 kLightGreen, true);
    bands_[kPageBand] = makeBand(
        window, 105, {kCmdPreviousPage, kCmdNextPage, kSeparator, kCmdZoomOut, kCmdZoomIn},
        kLightCyan, true);
    bands_[kCloseBand] = makeBand(window, 116, {kCmdLeaveMode}, kLightCyan, false);
    bands_[kCloseBand]->setIconSize(QSize(36, 16));
    bands_[kLayoutBand] =
        makeBand(window, 117, {kCmdEditItem, kCmdUndo}, kLightGreen, false);
    updateBands();
}

QToolBar* ToolBars::makeBand(QMainWindow* window, int controlId,
                             std::initializer_list<int> buttons, const QColor& tipColor,
                             bool describes) {
    auto* bar = new QToolBar(window);
    setControlId(bar, controlId);
    bar->setObjectName(QStringLiteral("ToolBar%1").arg(controlId));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (int command : buttons) {
        if (command == kSeparator) {
            bar->addSeparator();
            continue;
        }
        QAction* action = actions_.value(command);
        bar->addAction(action);
        QWidget* button = bar->widgetForAction(action);
        button->setProperty(kTipColorProperty, tipColor);
        button->setProperty(kDescribesProperty, describes);
        button->installEventFilter(this);
    }
    window->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

void ToolBars::updateBands() {
    const ModeState& mode = modeState();
    const bool shown = mode.toolbarVisible != 0;
    const bool previewOrLayout = mode.previewMode == 1 || mode.layoutMode == 1;
    bands_[kMainBand]->setVisible(shown);
    bands_[kPageBand]->setVisible(shown && previewOrLayout);
    bands_[kCloseBand]->setVisible(shown && previewOrLayout);
    bands_[kLayoutBand]->setVisible(shown && mode.layoutMode == 1);
}

bool ToolBars::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QToolButton*>(watched);
    if (!button || !button->defaultAction()) {
        return QObject::eventFilter(watched, event);
    }
    const int command = button->defaultAction()->data().toInt();
    const bool describes = button->property(kDescribesProperty).toBool();
    switch (event->type()) {
        case QEvent::ToolTip: {
            const QString text = button->defaultAction()->toolTip();
            if (text.isEmpty()) {
                return true;
            }
            QPalette palette = QToolTip::palette();
            palette.setColor(QPalette::ToolTipBase,
                             button->property(kTipColorProperty).value<QColor>());
            palette.setColor(QPalette::ToolTipText, kTipText);
            QToolTip::setPalette(palette);
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, button);
            const QString description = longDescription(command);
            if (describes && !description.isEmpty()) {
                status_->setStatusText(description);
            }
            return true;
        }
        case QEvent::Leave:
        case QEvent::MouseButtonPress:
            if (describes) {
                status_->showIdleText();
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace belvorine
