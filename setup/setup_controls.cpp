#include "setup/setup_controls.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "shell/dialog_base.h"

namespace belvorine::setup {

QHBoxLayout* okCancelHelp(BelvorineDialog* dialog, int firstId) {
    auto* ok = control<QPushButton>(firstId, QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = control<QPushButton>(firstId + 1, QStringLiteral("ｷｬﾝｾﾙ"));
    auto* help = control<QPushButton>(firstId + 2, QStringLiteral("ヘルプ"));
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    QObject::connect(help, &QPushButton::clicked, dialog, &BelvorineDialog::openHelpTopic);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    return buttons;
}

}  // namespace belvorine::setup
