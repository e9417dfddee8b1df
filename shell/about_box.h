#pragma once
// The about box "BAJON".

#include <functional>

#include <QUrl>

#include "widgets/dialog_base.h"

class QPushButton;

namespace belvorine {

inline constexpr char kVersionText[] = "Belvorine Ver 4.30";
inline constexpr char kHomePage[] = "https://belvorine.example.org/";

namespace about_box {
enum ControlId : int {
    kBanner = 1485,  // the picture button that opens the home page
    kVersion = 1495,
};
}  // namespace about_box

class AboutBox : public BelvorineDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* owner);

    // Opens the home page in the default browser; replaceable by tests.
    static void setBrowserOpenerForTesting(std::function<void(const QUrl&)> opener);

private slots:
    void openHomePage();

private:
    QPushButton* banner_;
};

// Runs the about box modally over the main window (command 40014).
int showAboutBox(QWidget* owner);

}  // namespace belvorine
