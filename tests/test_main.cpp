// Runs every test inside one QApplication on the offscreen platform.

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/font_faces.h"
#include "shell/application.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    belvorine::nameFontsInJapanese();
    QApplication app(argc, argv);
    belvorine::prepareApplication(app);
    return RUN_ALL_TESTS();
}
