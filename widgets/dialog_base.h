#pragma once
// The base of every dialog of the program: the main window's icon, centred
// over the main window, pop-up help for its controls on F1, right click and
// the caption's help button, and its own help topic on its help button.

#include <QDialog>

#include "widgets/help.h"

class QBoxLayout;

namespace belvorine {

class BelvorineDialog : public QDialog {
    Q_OBJECT
public:
    // `face` and `pointSize` give the dialog's font ("ＭＳ ゴシック", 10 ...).
    BelvorineDialog(QWidget* owner, const QString& face, int pointSize);

    // The topic that the help button opens, and how.
    void setHelpTopic(const QString& topic, HelpCommand command = HelpCommand::DisplayContents);

    // Shows the pop-up help of `control` (or of the nearest ancestor that
    // carries a control id). Returns the help id shown, 0 for none.
    int showContextHelp(QWidget* control, HelpCommand command);

public slots:
    // The help button.
    void openHelpTopic();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchControls();

    QString helpTopic_;
    HelpCommand helpCommand_ = HelpCommand::DisplayContents;
    bool centred_ = false;
};

// Adds "OK" (the default button, id `okId`), "ｷｬﾝｾﾙ" (`okId` + 1) and
// "ヘルプ" (`okId` + 2) to `row`: they accept, reject and open the dialog's
// help topic.
void addDialogButtons(QBoxLayout* row, BelvorineDialog* dialog, int okId);

}  // namespace belvorine
