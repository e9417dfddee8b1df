#include "setup/setup_controls.h"

#include <QHBoxLayout>

#include "widgets/dialog_base.h"

namespace belvorine::setup {

QHBoxLayout* okCancelHelp(BelvorineDialog* dialog, int firstId) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    addDialogButtons(buttons, dialog, firstId);
    return buttons;
}

}  // namespace belvorine::setup
