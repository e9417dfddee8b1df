#pragma once
// The main window as the widget tests drive it: a program folder of its own,
// the built-in PDF printer alone, and every message box recorded and
// answered (OK; a question gets `answer`).

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/printers/printer_info.h"
#include "print/print_run.h"
#include "print/printer_list.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "widgets/message_box.h"
#include "widgets/mode_state.h"
#include "test_support.h"

namespace belvorine::test {

class MainWindowFixture : public ::testing::Test {
protected:
    // Prepares everything but the window; start() makes it.
    void SetUp() override {
        modeState() = ModeState();
        setMessageHandlerForTesting([this](const MessageRequest& request) {
            messages.push_back(request);
            return request.buttons == MessageButtons::YesNo ? answer : kResultOk;
        });
        usePrinters({pdfPrinter()});
    }
    void TearDown() override {
        if (window) {
            modeState() = ModeState();
            window->close();
        }
        window.reset();
        setMessageHandlerForTesting(nullptr);
        setPdfFileChooserForTesting(nullptr);
    }

    void start() {
        window.reset(initApplication());
        ASSERT_NE(window, nullptr);
    }
    void restart() {
        window->close();
        window.reset();
        start();
    }

    // True when a message box showed a text containing `text`.
    bool shown(const QString& text) const {
        for (const MessageRequest& message : messages) {
            if (message.text.contains(text)) {
                return true;
            }
        }
        return false;
    }

    ProgramFolder folder;
    std::unique_ptr<MainWindow> window;
    std::vector<MessageRequest> messages;
    int answer = kResultYes;
};

}  // namespace belvorine::test
