#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QValidator>

#include "hosts/host_window.h"
#include "operation/alarm_info_page.h"
#include "operation/pairing.h"
#include "protocol/hex_text.h"
#include "support/core_fixture.h"
#include "support/host_window_fixture.h"
#include "ui/form_code_match.h"
#include "ui/pages/alarm_info_page_widget.h"

namespace tarnwick {
namespace {

using testing::HostDatagram;

// Renders `widget` to DIR/name.png when TARNWICK_SHOT_DIR names a folder.
void SaveShot(QWidget& widget, const char* name) {
    const QString dir = qEnvironmentVariable("TARNWICK_SHOT_DIR");
    if (!dir.isEmpty()) widget.grab().save(dir + "/" + name + ".png");
}

struct AlarmWidgetTest : ::testing::Test, testing::HostWindowFixture {
    AlarmWidgetTest() {
        AutoRefresh(true);
        page = dynamic_cast<AlarmInfoPage*>(&window.Page(kAlarmPage));
        widget = std::make_unique<ui::AlarmInfoPageWidget>(*page, nullptr);
        widget->resize(1180, 640);
        f.client().responder = [](const std::string& payload) -> std::vector<std::string> {
            const int first = HexToInt(Slice(payload, 13, 16));
            std::string area;
            for (int n = first; n < first + 20; ++n)
                area += "00" + ByteHex(static_cast<unsigned>(n)) +
                        (n % 3 ? "9005140830080401"
                                 "1A"
                               : "9206010915050102"
                                 "03");
            return {HostDatagram("12", "06", "01" + area)};
        };
    }
    AlarmInfoPage* page = nullptr;
    std::unique_ptr<ui::AlarmInfoPageWidget> widget;
};

TEST_F(AlarmWidgetTest, GridShowsTwentyRecordsWithShadedEvenRows) {
    window.PageChange(kAlarmPage);
    auto* grid = widget->findChild<QTableWidget*>("strgridAlarmInfo");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->rowCount(), 20);
    EXPECT_EQ(grid->horizontalHeaderItem(3)->text(), QStringLiteral(" 防区号"));
    EXPECT_EQ(grid->item(0, 3)->text(), QStringLiteral(" 11"));
    EXPECT_EQ(grid->columnWidth(3), 228);
    EXPECT_FALSE(widget->findChild<QPushButton*>("bbtnFindAlarmInfo")->isVisibleTo(widget.get()));

    widget->show();
    const QImage image = widget->grab().toImage();
    SaveShot(*widget, "tsAlarmInfo-twenty-records");
    // Page row 2 is the table's second row: grey beside the number column.
    const QRect even = grid->visualRect(grid->model()->index(1, 4));
    const QRect odd = grid->visualRect(grid->model()->index(2, 4));
    const QPoint offset = grid->viewport()->mapTo(widget.get(), QPoint(0, 0));
    const QPoint corner = offset + even.bottomRight() - QPoint(3, 3);
    EXPECT_EQ(image.pixelColor(corner).rgb() & 0xFFFFFF, 0xF5F5F5u);
    EXPECT_NE(image.pixelColor(offset + odd.bottomRight() - QPoint(3, 3)).rgb() & 0xFFFFFF,
              0xF5F5F5u);
}

TEST_F(AlarmWidgetTest, StartNumberTakesDigitsOnlyAndPagingReadsTheNextTwenty) {
    window.PageChange(kAlarmPage);
    auto* start = widget->findChild<QComboBox*>("cbStartNo");
    ASSERT_TRUE(start->isEditable());
    QString typed = QStringLiteral("4x1");
    int position = 0;
    ASSERT_NE(start->validator(), nullptr);
    EXPECT_EQ(start->validator()->validate(typed, position), QValidator::Invalid);
    start->setEditText(QStringLiteral("41"));
    EXPECT_EQ(page->Controls()["cbStartNo"].text, "41");
    f.client().sent.clear();
    widget->findChild<QPushButton*>("bbtnPageDown")->click();
    EXPECT_EQ(start->currentText(), QStringLiteral("61"));
    ASSERT_EQ(f.client().sent.size(), 1u);
    EXPECT_EQ(Slice(f.client().sent[0].payload, 13, 20), "003D0050");
    EXPECT_EQ(widget->findChild<QTableWidget*>("strgridAlarmInfo")->item(0, 0)->text(),
              QStringLiteral("  61"));
}

struct PairingFormTest : ::testing::Test {
    PairingFormTest() { f.tdm->session.SetCurrentHost("10.77.0.11"); }
    testing::CoreFixture f;
    PairingWindow model{*f.tdm};
    ui::TFormCodeMatch form{model, nullptr};
};

TEST_F(PairingFormTest, SubAddressShowsForDetectorsAndTheLogIsColoured) {
    auto* kind = form.findChild<QComboBox*>("cbWirelessDevice");
    auto* address = form.findChild<QComboBox*>("cbAddress");
    form.show();
    EXPECT_FALSE(address->isVisible());
    EXPECT_FALSE(form.findChild<QProgressBar*>("PbarCodeMatching")->isVisible());
    emit kind->activated(1);
    EXPECT_TRUE(address->isVisible());
    EXPECT_EQ(form.findChild<QComboBox*>("cbDefence")->currentText(), QStringLiteral("7"));
    EXPECT_EQ(form.findChild<QLabel*>("lblAddress")->buddy(), address);

    f.client().incoming = {HostDatagram("13", "01", "01AB0102"),
                           HostDatagram("13", "02", "01AB0110")};
    model.controls["cbDefence"].index = 5;
    model.controls["cbAddress"].index = 1;
    form.findChild<QPushButton*>("bbtnCodeMatching")->click();
    form.findChild<QPushButton*>("bbtnDeleteCodeMatch")->click();
    ASSERT_EQ(f.client().sent.size(), 2u);
    EXPECT_EQ(Slice(f.client().sent[0].payload, 13, 20), "18010C02");
    auto* log = form.findChild<QTextEdit*>("memCMInfo");
    ASSERT_EQ(log->document()->blockCount(), 2);
    // The time stamp keeps the normal colour, the rest takes the line's.
    const auto colourAt = [&](int block, int position) {
        QTextCursor cursor(log->document()->findBlockByNumber(block));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, position);
        return cursor.charFormat().foreground().color().rgb() & 0xFFFFFF;
    };
    EXPECT_EQ(colourAt(0, 25), kLogRed);    // already paired: "删除" in the advice
    EXPECT_EQ(colourAt(1, 25), kLogGreen);  // deleted
    EXPECT_NE(colourAt(1, 5), kLogGreen);
    form.resize(640, 420);
    SaveShot(form, "TFormCodeMatch-log");

    // Closing the window pauses pairing.
    form.reject();
    EXPECT_EQ(Slice(f.client().sent.back().payload, 13, 20), "18030000");
    EXPECT_FALSE(form.isVisible());
}

// The close box works while the host waits for a device: the window closes,
// the pause goes out and the wait ends at its next second.
TEST_F(PairingFormTest, ClosingDuringThePairingWaitClosesPausesAndEndsTheWait) {
    form.show();
    f.client().incoming = {HostDatagram("13", "01", "01AB0001")};  // pairing state entered
    f.client().onReceive = [&] {
        if (f.client().waits.size() == 3) form.reject();
    };
    model.StartPairing();
    EXPECT_FALSE(form.isVisible());
    ASSERT_EQ(f.client().sent.size(), 2u);
    EXPECT_EQ(Slice(f.client().sent[1].payload, 13, 20), "18030000");
    EXPECT_LT(f.client().waits.size(), 6u);
    const Control& log = model.controls["memCMInfo"];
    ASSERT_FALSE(log.lines.empty());
    EXPECT_NE(log.lines.back().find("已取消对码"), std::string::npos) << log.lines.back();
    EXPECT_FALSE(model.Busy());
}

}  // namespace
}  // namespace tarnwick
