#pragma once
// The two resets of the current format: back to the state at start-up
// ("起動時の状態に戻す") or at purchase ("購入時の状態に戻す"), each asked
// first.

class QWidget;

namespace belvorine {

enum ResetResult : int {
    kResetDeclined = 0,       // the user answered No: nothing changed
    kResetDone = 1,           // printer settings and layout restored and prepared
    kResetPrinterFailed = -1  // the printer check failed: ERROR No.0011 has been shown
};

// Asks with message 12, then restores the current format's printer settings
// and live layout from their start-up copies, checks its printer again and
// prepares the restored items. The company profile, which both formats
// share, stays: its frames are fitted to its texts where those differ from
// the restored ones.
int resetToStartup(QWidget* owner);

// The same with message 13 and the factory values.
int resetToFactory(QWidget* owner);

}  // namespace belvorine
