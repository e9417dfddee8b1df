#include "preview/layout_resets.h"

#include <string>

#include <QString>

#include "data/layout_model.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "form/profile_frames.h"
#include "platform/sjis_text.h"
#include "print/device_geometry.h"
#include "widgets/message_box.h"

namespace belvorine {
namespace {

// The company profile is the company's own data, which both formats share,
// not a part of the layout: a reset of one format gives it back its frames
// around the profile's texts, fitted as registering them fits them.
void keepCompanyProfile(int format, const std::string (&texts)[kCompanyProfileCount]) {
    FormLayout& layout = liveLayout(format);
    for (int i = 0; i < kCompanyProfileCount; ++i) {
        LayoutItem& item = layout[kItemCompanyFirst + i];
        if (sjisView(item.text) != texts[i]) {
            copySjis(item.text, texts[i]);
            fitProfileFrame(format, layout, kItemCompanyFirst + i);
        }
    }
}

int reset(QWidget* owner, const QString& caption, int message, void (*restore)(int)) {
    if (askQuestion(owner, caption, message) != kResultYes) {
        return kResetDeclined;
    }
    const int format = currentFormat();
    std::string profile[kCompanyProfileCount];
    for (int i = 0; i < kCompanyProfileCount; ++i) {
        profile[i] = companyProfileText(format, i);
    }
    restore(format);
    const bool printerChecked = refreshPrinterMetrics(printerSettings(format), format);
    // Kept even when the check fails: the program then closes, saving the
    // layouts, and the profile belongs to both formats.
    keepCompanyProfile(format, profile);
    if (!printerChecked) {
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
