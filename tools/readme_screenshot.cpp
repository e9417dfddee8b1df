// Draws the main window with a filled order into a PNG for the README:
// readme_screenshot <file.png>. It works in a temporary program folder, so
// no user's settings or history are touched. Run it through
// tools/update-screenshot.sh, which provides a display.

#include <QApplication>
#include <QTemporaryDir>

#include "data/order_record.h"
#include "data/settings_state.h"
#include "platform/font_faces.h"
#include "platform/module_path.h"
#include "platform/printers/printer_info.h"
#include "platform/sjis_text.h"
#include "print/printer_list.h"
#include "shell/application.h"
#include "shell/main_window.h"

using namespace belvorine;

namespace {

void set(char* field, std::size_t size, const char* utf8) {
    copySjis(field, size, toSjisLossy(QString::fromUtf8(utf8)));
}
#define SET(field, text) set(field, sizeof(field), text)

void fillOrder() {
    OrderRecord& order = currentOrder();
    SET(order.counterparty, "株式会社山田製作所");
    SET(order.paymentText, "60");
    order.paymentKind = kPaymentNote;
    struct Line {
        const char* name1;
        const char* name2;
        const char* quantity;
        const char* unit;
        const char* price;
        const char* amount;
    };
    const Line lines[] = {
        {"六角ボルト", "M8×30 ステンレス", "     500", "本", "   18.50", "         9250"},
        {"ベアリングユニット", "UCP205", "      12", "個", " 2480.00", "        29760"},
        {"制御盤据付工事", "", "       1", "式", "180000.00", "       180000"},
        {"安全手袋", "Lサイズ", "      20", "組", "  320.00", "         6400"},
    };
    for (int i = 0; i < 4; ++i) {
        OrderLine& line = order.lines[i];
        SET(line.nameLine1, lines[i].name1);
        SET(line.nameLine2, lines[i].name2);
        SET(line.quantity, lines[i].quantity);
        SET(line.unit, lines[i].unit);
        SET(line.unitPrice, lines[i].price);
        SET(line.amount, lines[i].amount);
        SET(line.deliveryDateLine1, "2026年");
        SET(line.deliveryDateLine2, "12月25日");
        SET(line.deliveryPlaceLine1, "本社工場");
    }
}

}  // namespace

int main(int argc, char** argv) {
    nameFontsInJapanese();
    QApplication app(argc, argv);
    prepareApplication(app);
    if (argc != 2) {
        return 2;
    }
    QTemporaryDir folder;
    setModulePathForTesting(folder.filePath(QStringLiteral("belvorine")));
    usePrinters({pdfPrinter()});
    MainWindow* window = initApplication();
    if (!window) {
        return 1;
    }
    fillOrder();
    printerSettings(0).showTotal = 1;
    window->resize(980, 760);
    window->refreshViews();
    QApplication::processEvents();
    const bool saved = window->grab().save(QString::fromLocal8Bit(argv[1]));
    window->close();
    delete window;
    return saved ? 0 : 1;
}
