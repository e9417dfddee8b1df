// The item property dialog as the layout editor opens it: values typed and
// Enter, the fit question and its answers, groups, cancel, refusals.

#include <gtest/gtest.h>

#include <cstring>

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "data/order_record.h"
#include "data/settings_state.h"
#include "form/text_fitting.h"
#include "main_window_fixture.h"
#include "platform/sjis_text.h"
#include "preview/item_property_dialog.h"
#include "widgets/help.h"

using namespace belvorine;
using namespace belvorine::item_property;

namespace {

const QString kFitQuestion = QStringLiteral(
    "枠の大きさが項目内容（文字列）の大きさより小さいので\n\n項目内容（文字列）が枠からはみ出します"
    "。\n\n枠の大きさを自動調整します。　よろしいですか？");

using test::control;

void retype(QWidget* dialog, int id, const QString& text) {
    test::retype(control<QLineEdit>(dialog, id), text);
}

bool sameLayout(const FormLayout& a, const FormLayout& b) {
    return std::memcmp(&a, &b, sizeof(FormLayout)) == 0;
}

class ItemProperties : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        start();
    }

    // Opens the dialog for `item` as the editor does; `pushes` counts the
    // undo entries the editor would take.
    bool edit(int item, const std::function<void(QWidget*)>& work) {
        bool written = false;
        test::withModalDialog(
            [&]() { written = runItemPropertyDialog(window.get(), item, [this]() { ++pushes; }); },
            work);
        return written;
    }

    int questions() const {
        return static_cast<int>(std::count_if(messages.begin(), messages.end(), [](auto& m) {
            return m.text == kFitQuestion && m.caption == "よろしいですか？";
        }));
    }

    int pushes = 0;
};

}  // namespace

TEST_F(ItemProperties, ANarrowWidthAndEnterAskYesWidensAroundTheCentreNoKeepsIt) {
    for (int reply : {kResultYes, kResultNo}) {
        answer = reply;
        messages.clear();
        pushes = 0;
        liveLayout(0)[5].mmRect = Rect{14700, 2800, 20000, 3400};  // centred company name
        const FormLayout before = liveLayout(0);
        const bool written = edit(5, [](QWidget* dialog) {
            EXPECT_EQ(dialog->windowTitle(), "項目の変更");
            EXPECT_EQ(control<QLabel>(dialog, kPaperLine)->text(),
                      "用紙　：　A4 縦  ( 210 × 297 mm)");
            EXPECT_EQ(control<QLineEdit>(dialog, kX)->text(), "147");
            EXPECT_EQ(control<QLineEdit>(dialog, kWidth)->text(), "53");
            retype(dialog, kWidth, "20");
            QTest::keyClick(control(dialog, kWidth), Qt::Key_Return);
        });
        ASSERT_TRUE(written);
        EXPECT_EQ(pushes, 1);
        EXPECT_EQ(questions(), 1);
        const Rect& mm = liveLayout(0)[5].mmRect;
        EXPECT_EQ(mm.top, 2800);
        if (reply == kResultYes) {
            // The typed frame was 147 to 167 mm; it grows about its centre.
            EXPECT_GT(mm.width(), 2000);
            EXPECT_LE(std::abs(mm.left + mm.right - 2 * 15700), 1);
        } else {
            EXPECT_EQ(mm, (Rect{14700, 2800, 16700, 3400}));
        }
        for (int i = 0; i < kLayoutItemCount; ++i) {
            if (i != 5) {
                EXPECT_EQ(std::memcmp(&liveLayout(0)[i], &before[i], sizeof(LayoutItem)), 0) << i;
            }
        }
    }
}

TEST_F(ItemProperties, CancelAfterChangesLeavesLayoutAndUndoHistoryAsTheyWere) {
    std::vector<LayoutItem> history(9, liveLayout(0)[20]);  // a full history of nine
    const FormLayout before = liveLayout(0);
    test::withModalDialog(
        [&]() {
            EXPECT_FALSE(runItemPropertyDialog(window.get(), 20, [&]() {
                history.erase(history.begin());
                history.push_back(liveLayout(0)[20]);
            }));
        },
        [](QWidget* dialog) {
            retype(dialog, kText1, "○検収方法：受入検査による。");
            retype(dialog, kX, "30");
            control<QRadioButton>(dialog, kFitWidthButton)->click();
            control<QRadioButton>(dialog, kHeavyButton)->click();
            control<QPushButton>(dialog, kCancel)->click();
        });
    EXPECT_EQ(history.size(), 9u);
    EXPECT_TRUE(sameLayout(liveLayout(0), before));
}

TEST_F(ItemProperties, FitToWidthOnATitleGivesAllThreeTitlesTheSmallestSize) {
    answer = kResultNo;
    const FormLayout before = liveLayout(0);
    ASSERT_TRUE(edit(2, [](QWidget* dialog) {
        EXPECT_EQ(control<QLabel>(dialog, kTitle1)->text(), "注　文　書");
        EXPECT_EQ(control<QLabel>(dialog, kTitle2)->text(), "注　文　書　控");
        EXPECT_EQ(control<QLabel>(dialog, kTitle3)->text(), "注　文　請　書");
        control<QRadioButton>(dialog, kFitWidthButton)->click();
        EXPECT_FALSE(control(dialog, kPointSize)->isEnabled());
        control<QPushButton>(dialog, kOk)->click();
    }));
    const FormLayout& layout = liveLayout(0);
    int smallest = fitPointSize(layout[1]);
    for (int i = 1; i <= 3; ++i) {
        smallest = std::min(smallest, fitPointSize(layout[i]));
    }
    EXPECT_LT(smallest, fitPointSize(layout[1])) << "the shortest title fits a larger size";
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(layout[i].sizeRule, kSizeFitWidth) << i;
        EXPECT_EQ(layout[i].pointSize, smallest) << i;
        EXPECT_EQ(layout[i].itemId, i);
        EXPECT_EQ(layout[i].mmRect, before[1].mmRect) << "answered no: the frame as it was";
        EXPECT_STREQ(layout[i].text, before[i].text);
    }
}

TEST_F(ItemProperties, TypedTextsAndSizesCountOnEnterAndBadValuesAreRefused) {
    const FormLayout before = liveLayout(0);
    ASSERT_TRUE(edit(15, [this](QWidget* dialog) {
        // The lease sentence, composed through the input method.
        auto* lease = control<QLineEdit>(dialog, kText2);
        EXPECT_EQ(lease->text(), "○支払条件：リース扱い");
        lease->setFocus();
        lease->end(false);
        QInputMethodEvent preedit(QStringLiteral("ごうい"), {});
        QApplication::sendEvent(lease, &preedit);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("（合意済み）"));
        QApplication::sendEvent(lease, &commit);

        // A width too large for the paper shows the largest one that stays
        // inside the margin box (its right edge is at 204.97 mm on the PDF
        // printer's A4), and the corner stays where it may be.
        retype(dialog, kWidth, "250");
        control(dialog, kHeight)->setFocus();
        EXPECT_EQ(control<QLineEdit>(dialog, kWidth)->text(), "198");
        EXPECT_EQ(control<QLineEdit>(dialog, kX)->text(), "6");
        retype(dialog, kWidth, "105");

        retype(dialog, kHeight, "0");
        control(dialog, kWidth)->setFocus();  // leaving the field refuses the value
        QApplication::processEvents();
        EXPECT_EQ(control<QLineEdit>(dialog, kHeight)->text(), "3");
        EXPECT_EQ(messages.size(), 1u);

        auto* size = control<QComboBox>(dialog, kPointSize);
        size->lineEdit()->setFocus();
        size->lineEdit()->selectAll();
        QTest::keyClicks(size->lineEdit(), "0");
        QTest::keyClick(size->lineEdit(), Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible()) << "a size of 0 keeps the dialog open";
        EXPECT_EQ(messages.size(), 2u);
        size->lineEdit()->selectAll();
        QTest::keyClicks(size->lineEdit(), "11");
        QTest::keyClick(size->lineEdit(), Qt::Key_Return);
    }));
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0].caption, "入力エラー");
    EXPECT_EQ(messages[1].caption, "入力エラー");
    const FormLayout& layout = liveLayout(0);
    EXPECT_EQ(fromSjisBuffer(layout[15].text), "○支払条件：リース扱い（合意済み）");
    for (int i = 14; i <= 16; ++i) {
        EXPECT_EQ(layout[i].pointSize, 11) << i;
        EXPECT_EQ(layout[i].mmRect, layout[14].mmRect) << i;
        EXPECT_EQ(layout[i].itemId, i);
    }
    EXPECT_STREQ(layout[14].text, before[14].text);
    EXPECT_STREQ(layout[16].text, before[16].text);
    EXPECT_STREQ(layout[17].text, before[17].text);
}

TEST_F(ItemProperties, TextsThatCannotChangeAreShownWithTheirReasonAndNeverReadBack) {
    copySjis(longestCounterparty(0), 256, toSjisLossy(QStringLiteral("山田商事株式会社")));
    struct Case {
        int item;
        int previewPage;
        QString text;
        QString reason;
    };
    const Case cases[] = {
        {4, 1, " 8888年 88月 88日", "日付の表示は常に同一書式となります。"},
        {11, 1, " 山田商事株式会社　御中", "参考に相手先で一番長い名前を表示しています。"},
        {11, 3, " 山田商事株式会社　御中", "相手先の表示と同一書式となります。"},
        {26, 1, "", "申し訳ありません。"},
    };
    for (const Case& each : cases) {
        modeState().previewPage = each.previewPage;
        const FormLayout before = liveLayout(0);
        ASSERT_TRUE(edit(each.item, [&each](QWidget* dialog) {
            auto* text = control<QLineEdit>(dialog, kText1);
            EXPECT_EQ(text->text(), each.text) << each.item;
            EXPECT_FALSE(text->isEnabled());
            const QString message = control<QLabel>(dialog, kMessage)->text();
            EXPECT_TRUE(message.startsWith("項目内容は変更できません。\n")) << each.item;
            EXPECT_TRUE(message.endsWith(each.reason)) << each.item;
            const bool frameOnly = each.item == 26;
            EXPECT_EQ(control(dialog, kAlignLeftButton)->isEnabled(), each.item < 25);
            EXPECT_EQ(control(dialog, kPointSize)->isEnabled(), each.item == 4);
            EXPECT_EQ(control(dialog, kHeavyButton)->isEnabled(), !frameOnly);
            EXPECT_EQ(control(dialog, kUnderline)->isEnabled(), !frameOnly);
            control<QPushButton>(dialog, kOk)->click();
        }));
        EXPECT_STREQ(liveLayout(0)[each.item].text, before[each.item].text) << each.item;
    }
}

TEST_F(ItemProperties, OkOnAnUntouchedFrameAsksNothingInEitherFormat) {
    for (int format : {0, 1}) {
        settings().initialData.formatIndex = format;
        for (int item : {1, 5}) {
            messages.clear();
            const LayoutItem before = liveLayout(format)[item];
            ASSERT_TRUE(edit(item, [](QWidget* dialog) {
                // Only the corner typed again, as the user leaves it.
                retype(dialog, kX, control<QLineEdit>(dialog, kX)->text());
                control<QPushButton>(dialog, kOk)->click();
            }));
            EXPECT_EQ(questions(), 0) << format << " " << item;
            EXPECT_EQ(liveLayout(format)[item].mmRect, before.mmRect) << format << " " << item;
        }
    }
    settings().initialData.formatIndex = 0;
}

TEST_F(ItemProperties, TabReachesThePointSizeAfterTheSizeRuleButtons) {
    edit(20, [](QWidget* dialog) {
        control(dialog, kFixedButton)->setFocus();
        QWidget* next = control(dialog, kFixedButton);
        std::vector<int> order;
        for (int i = 0; i < 4; ++i) {
            next = next->nextInFocusChain();
            while (next->focusPolicy() == Qt::NoFocus || next->property("controlId").isNull()) {
                next = next->nextInFocusChain();
            }
            order.push_back(next->property("controlId").toInt());
        }
        EXPECT_EQ(order,
                  (std::vector<int>{kFitWidthButton, kFitHeightButton, kPointSize, kNormalButton}));
        control<QPushButton>(dialog, kCancel)->click();
    });
}
