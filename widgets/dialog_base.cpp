#include "widgets/dialog_base.h"

#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

#include "platform/font_faces.h"
#include "widgets/placement.h"

namespace belvorine {
namespace {

// Text fields keep their own cut/copy/paste menu on a right click.
bool editsText(const QObject* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget);
}

}  // namespace

BelvorineDialog::BelvorineDialog(QWidget* owner, const QString& face, int pointSize)
    : QDialog(owner ? owner : mainWindow()) {
    setFont(widgetFont(face, pointSize));
    if (QWidget* main = mainWindow()) {
        setWindowIcon(main->windowIcon());
    }
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
}

void BelvorineDialog::setHelpTopic(const QString& topic, HelpCommand command) {
    helpTopic_ = topic;
    helpCommand_ = command;
}

void BelvorineDialog::openHelpTopic() {
    htmlHelp(this, helpFilePath() + helpTopic_, helpCommand_);
}

int BelvorineDialog::showContextHelp(QWidget* control, HelpCommand command) {
    while (control && control != this && controlIdOf(control) < 1) {
        control = control->parentWidget();
    }
    if (!control || control == this) {
        return 0;
    }
    return htmlHelp(control, helpFilePath() + QStringLiteral("::/belhelp.txt"), command);
}

void BelvorineDialog::showEvent(QShowEvent* event) {
    watchControls();
    if (!centred_) {
        centred_ = true;
        adjustSize();
        centreDialog(this);
    }
    QDialog::showEvent(event);
}

void BelvorineDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        showContextHelp(focusWidget(), HelpCommand::WhatsThisFromHelpKey);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool BelvorineDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* control = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
        case QEvent::ContextMenu:
            if (!editsText(watched)) {
                showContextHelp(control, HelpCommand::WhatsThisFromContextMenu);
                return true;
            }
            break;
        case QEvent::QueryWhatsThis:
            return true;
        case QEvent::Wheel:
            // A wheel turned over a list the user is not in must not change it.
            if (control && !control->hasFocus() &&
                (qobject_cast<QComboBox*>(control) || qobject_cast<QAbstractSpinBox*>(control))) {
                return true;
            }
            break;
        case QEvent::WhatsThis:
            showContextHelp(control, HelpCommand::WhatsThisFromContextMenu);
            return true;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void BelvorineDialog::watchControls() {
    const auto children = findChildren<QWidget*>();
    for (QWidget* child : children) {
        const bool takesWheel =
            qobject_cast<QComboBox*>(child) || qobject_cast<QAbstractSpinBox*>(child);
        if (takesWheel) {
            child->setFocusPolicy(Qt::StrongFocus);
        }
        if (controlIdOf(child) >= 1 || takesWheel) {
            child->installEventFilter(this);
        }
    }
}

void addDialogButtons(QBoxLayout* row, BelvorineDialog* dialog, int okId) {
    auto* ok = withControlId(new QPushButton(QStringLiteral("OK"), dialog), okId);
    ok->setDefault(true);
    auto* cancel = withControlId(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), dialog), okId + 1);
    auto* help = withControlId(new QPushButton(QStringLiteral("ヘルプ"), dialog), okId + 2);
    row->addWidget(ok);
    row->addWidget(cancel);
    row->addWidget(help);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    QObject::connect(help, &QPushButton::clicked, dialog, &BelvorineDialog::openHelpTopic);
}

}  // namespace belvorine
