#include "widgets/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "widgets/message_table.h"

namespace belvorine {
namespace {

std::function<int(const MessageRequest&)>& testHandler() {
    static std::function<int(const MessageRequest&)> handler;
    return handler;
}

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

int showMessage(const MessageRequest& request) {
    if (testHandler()) {
        return testHandler()(request);
    }
    QMessageBox box(qtIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    request.owner);
    switch (request.buttons) {
        case MessageButtons::Ok:
            box.addButton(QMessageBox::Ok);
            break;
        case MessageButtons::OkCancel:
            box.addButton(QMessageBox::Ok);
            box.addButton(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
            break;
        case MessageButtons::YesNo:
            // The texts of a Japanese desktop, whatever the system's language.
            box.addButton(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
            box.addButton(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return kResultYes;
        case QMessageBox::No:
            return kResultNo;
        case QMessageBox::Cancel:
            return kResultCancel;
        default:
            // Escape on a Yes/No box means No, on an OK/Cancel box Cancel.
            if (box.clickedButton() == nullptr) {
                return request.buttons == MessageButtons::YesNo ? kResultNo
                       : request.buttons == MessageButtons::Ok  ? kResultOk
                                                                : kResultCancel;
            }
            return kResultOk;
    }
}

int showError(QWidget* owner, const QString& caption, int number) {
    return showMessage(
        {owner, caption, messageText(number), MessageIcon::Error, MessageButtons::Ok});
}

int askQuestion(QWidget* owner, const QString& caption, int number) {
    QApplication::beep();
    return showMessage(
        {owner, caption, messageText(number), MessageIcon::Question, MessageButtons::YesNo});
}

int showWarning(QWidget* owner, const QString& caption, const QString& text) {
    return showMessage({owner, caption, text, MessageIcon::Warning, MessageButtons::Ok});
}

void setMessageHandlerForTesting(std::function<int(const MessageRequest&)> handler) {
    testHandler() = std::move(handler);
}

}  // namespace belvorine
