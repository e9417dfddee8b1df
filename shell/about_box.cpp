#include "shell/about_box.h"

#include <functional>

#include <QDesktopServices>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "resources/images.h"

namespace belvorine {
namespace {

std::function<void(const QUrl&)>& browserOpener() {
    static std::function<void(const QUrl&)> opener;
    return opener;
}

// Dialog units of the dialog's font to pixels, as the original templates
// measure them: a quarter of the average character width horizontally and
// an eighth of the character height vertically.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        baseX_ = metrics.averageCharWidth();
        baseY_ = metrics.height();
    }
    QRect rect(int x, int y, int width, int height) const {
        return QRect(x * baseX_ / 4, y * baseY_ / 8, width * baseX_ / 4, height * baseY_ / 8);
    }

private:
    int baseX_ = 6;
    int baseY_ = 12;
};

QLabel* centredLabel(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* owner)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ Ｐゴシック"), 9), banner_(new QPushButton(this)) {
    setWindowTitle(QStringLiteral("ベルヴォリンのﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const DialogUnits units(font());
    setFixedSize(units.rect(0, 0, 199, 120).size());

    auto* picture = new QLabel(this);
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setPixmap(svgPixmap(QStringLiteral("belvorbmp"), QSize(32, 32), devicePixelRatioF()));
    const QRect pictureAt = units.rect(10, 20, 0, 0);
    picture->setGeometry(pictureAt.x(), pictureAt.y(), 36, 36);

    centredLabel(this, QStringLiteral("ベルヴォリン"), units.rect(50, 10, 135, 12));
    QLabel* version = centredLabel(this, QString(), units.rect(50, 22, 135, 12));
    setControlId(version, about_box::kVersion);
    version->setText(QString::fromLatin1(kVersionText));
    centredLabel(this, QStringLiteral("Copyright © 2026 Belvorine Project"),
                 units.rect(50, 34, 135, 12));

    const QRect bannerAt = units.rect(83, 50, 68, 31);
    setControlId(banner_, about_box::kBanner);
    banner_->setFlat(true);
    banner_->setGeometry(bannerAt);
    banner_->setIcon(QIcon(svgPixmap(QStringLiteral("bannerbmp"), bannerAt.size() - QSize(4, 4),
                                     devicePixelRatioF())));
    banner_->setIconSize(bannerAt.size() - QSize(4, 4));
    banner_->setCursor(Qt::PointingHandCursor);
    banner_->setToolTip(QString::fromLatin1(kHomePage));
    connect(banner_, &QPushButton::clicked, this, &AboutBox::openHomePage);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    setControlId(ok, 1);
    ok->setDefault(true);
    ok->setGeometry(units.rect(75, 95, 50, 14));
    connect(ok, &QPushButton::clicked, this, [this]() { done(2); });
}

void AboutBox::openHomePage() {
    const QUrl url(QString::fromLatin1(kHomePage));
    if (browserOpener()) {
        browserOpener()(url);
    } else {
        QDesktopServices::openUrl(url);
    }
    done(2);
}

void AboutBox::setBrowserOpenerForTesting(std::function<void(const QUrl&)> opener) {
    browserOpener() = std::move(opener);
}

int showAboutBox(QWidget* owner) {
    AboutBox box(owner);
    box.exec();
    // The box always closes with 2, whichever way it is left.
    return 2;
}

}  // namespace belvorine
