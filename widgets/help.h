#pragma once
// Help: topic pages in the program's help window and pop-up texts of the
// dialog controls, both compiled into the program.

#include <QString>

class QWidget;

namespace belvorine {

// The commands of the help call that the program uses.
enum class HelpCommand {
    DisplayTopic,             // the data entry dialog's help button
    DisplayContents,          // other help buttons, F1 on the main window, the help menu
    WhatsThisFromHelpKey,     // F1 on a dialog control
    WhatsThisFromContextMenu  // right click on a dialog control
};

// The help file's path (the program's path with "chm"); topic paths are this
// followed by "::/topic.html".
QString helpFilePath();

// Opens help. For the two display commands `path` names the topic after
// "::" (none: the contents page) and `window` is the owner; the help
// window shows the topic. For the what's-this commands `window` is the
// control: its pop-up text (by its control id and the context help map) is
// shown at it. Returns the help id shown for what's-this, 1 for a topic
// shown, 0 when there was nothing to show.
int htmlHelp(QWidget* window, const QString& path, HelpCommand command);

// The pop-up text of a help id from "belhelp.txt"; empty when there is none.
QString popupText(int helpId);

// The control id that a dialog control carries (Qt property "controlId"),
// 0 when it has none.
int controlIdOf(const QWidget* control);
void setControlId(QWidget* control, int id);

// `control` with its id set, for building a dialog in one expression.
template <typename Control>
Control* withControlId(Control* control, int id) {
    setControlId(control, id);
    return control;
}

// The first widget below `root` that carries `id`.
QWidget* findControl(QWidget* root, int id);

// The topic that the help window shows now, as "::/name.html" (tests).
QString currentHelpTopic();

}  // namespace belvorine
