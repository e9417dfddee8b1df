#include "preview/layout_resets.h"

#include <QString>

#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "print/device_geometry.h"
#include "widgets/message_box.h"

namespace belvorine {
namespace {

int reset(QWidget* owner, const QString& caption, int message, void (*restore)(int)) {
    if (askQuestion(owner, caption, message) != kResultYes) {
        return kResetDeclined;
    }
    const int format = currentFormat();
    restore(format);
    if (!refreshPrinterMetrics(printerSettings(format), format)) {
        showError(owner, QStringLiteral("Ｅｒｒｏｒ"), 11);
        return kResetPrinterFailed;
    }
    prepareLayout(format, liveLayout(format));
    return kResetDone;
}

}  // namespace

int resetToStartup(QWidget* owner) {
    return reset(owner, QStringLiteral("起動時の状態に戻す"), 12, restoreStartupState);
}

int resetToFactory(QWidget* owner) {
    return reset(owner, QStringLiteral("購入時の状態に戻す"), 13, restoreFactoryState);
}

}  // namespace belvorine
