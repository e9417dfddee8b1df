#pragma once
// Small builders for the controls of the setup dialogs: each control gets
// its id, so that F1 and a right click find its pop-up help.

#include <QLabel>
#include <QString>

#include "shell/help.h"

namespace belvorine::setup {

template <typename Control, typename... Args>
Control* control(int id, Args&&... args) {
    auto* widget = new Control(std::forward<Args>(args)...);
    setControlId(widget, id);
    return widget;
}

inline QLabel* label(const QString& text, int id) {
    return control<QLabel>(id, text);
}

}  // namespace belvorine::setup
