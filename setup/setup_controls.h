#pragma once
// Small builders for the controls of the setup dialogs: each control gets
// its id, so that F1 and a right click find its pop-up help.

#include <utility>

#include <QLabel>
#include <QString>

#include "widgets/help.h"

class QHBoxLayout;

namespace belvorine {
class BelvorineDialog;
}

namespace belvorine::setup {

template <typename Control, typename... Args>
Control* control(int id, Args&&... args) {
    return withControlId(new Control(std::forward<Args>(args)...), id);
}

inline QLabel* label(const QString& text, int id) {
    return control<QLabel>(id, text);
}

// The row of "OK" (the default button), "ｷｬﾝｾﾙ" and "ヘルプ" with the ids
// `firstId` to `firstId` + 2, wired to the dialog's accept, reject and help
// topic.
QHBoxLayout* okCancelHelp(BelvorineDialog* dialog, int firstId);

}  // namespace belvorine::setup
