#pragma once
// Message boxes: the numbered errors and questions, and the short warnings
// and questions of the dialogs. Every box goes through one function so that
// tests can answer it without a user.

#include <functional>

#include <QString>

class QWidget;

namespace belvorine {

enum class MessageIcon { None, Error, Warning, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNo };
// Results, numbered as the original platform numbers them.
enum MessageResult { kResultOk = 1, kResultCancel = 2, kResultYes = 6, kResultNo = 7 };

struct MessageRequest {
    QWidget* owner = nullptr;
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// Shows a message box and returns the button pressed.
int showMessage(const MessageRequest& request);

// Numbered message with the error icon and OK.
int showError(QWidget* owner, const QString& caption, int number);

// Numbered question with a beep, the question icon, Yes and No.
int askQuestion(QWidget* owner, const QString& caption, int number);

// A refusal inside a dialog: warning icon, OK.
int showWarning(QWidget* owner, const QString& caption, const QString& text);

// Lets tests answer every box: the handler gets the request and returns
// the result. An empty handler restores the real boxes.
void setMessageHandlerForTesting(std::function<int(const MessageRequest&)> handler);

}  // namespace belvorine
