// The pairing window and the alarm history page against a simulated host in
// the lab: real sockets, real one-second waits, the host's own learning
// report arriving while the window waits for it.
#include <gtest/gtest.h>

#include <chrono>

#include "app/standard_pages.h"
#include "hosts/host_window.h"
#include "operation/alarm_host_decoder.h"
#include "operation/alarm_info_page.h"
#include "operation/pairing.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "protocol/timing.h"
#include "support/lab_fixture.h"
#include "support/xlsx_reader.h"

namespace tarnwick::testing {
namespace {

class PairingInLab : public LabFixture {
  protected:
    std::unique_ptr<PairingWindow> OpenWindow() { return std::make_unique<PairingWindow>(*tdm); }
    static void Choose(PairingWindow& w, int kind, int defence, int address) {
        w.controls["cbWirelessDevice"].index = kind;
        w.controls.Change("cbWirelessDevice");
        w.controls["cbDefence"].index = defence;
        w.controls["cbAddress"].index = address;
    }
    static const Control& Log(PairingWindow& w) { return w.controls["memCMInfo"]; }
    // Real milliseconds since `start`.
    static long long Since(std::chrono::steady_clock::time_point start) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start)
            .count();
    }
};

TEST_F(PairingInLab, DetectorIsPairedByTheHostsLearningReportAndThenDeleted) {
    auto sim = StartOneHost(R"("pairing": {"learnAfterMs": 1500, "paired": ["010701"]})");
    auto w = OpenWindow();
    Choose(*w, 1, 5, 1);  // detector, zone 12, sub-address 2
    const auto start = std::chrono::steady_clock::now();
    w->StartPairing();
    const long long took = Since(start);
    ASSERT_EQ(sim->LogLines(BuildFrame("13", "81", "18010C02")).size(), 1u) << sim->Log();
    ASSERT_EQ(Log(*w).lines.size(), 2u);
    EXPECT_NE(Log(*w).lines[0].find(" 进入对码状态,可以进行对码操作。"), std::string::npos);
    EXPECT_NE(Log(*w).lines[1].find(" 上报无线设备学习结果: [探测器], 此无线设备对码成功。"),
              std::string::npos);
    EXPECT_EQ(Log(*w).lineColors[1].rgb, kLogGreen);
    EXPECT_EQ(op.beeps, 1);
    EXPECT_GE(took, 1400);  // the report came when the device was triggered
    EXPECT_LT(took, 5000);  // and ended the wait at once
    EXPECT_FALSE(w->Busy());

    // The slot is now known: pairing it again is refused as already paired.
    w->StartPairing();
    EXPECT_NE(Log(*w).lines[2].find("此无线设备地址已经对码过"), std::string::npos);
    EXPECT_EQ(Log(*w).lineColors[2].rgb, kLogRed);
    w->DeletePairing();
    EXPECT_NE(Log(*w).lines[3].find(", 删除无线设备地址成功。"), std::string::npos);
    EXPECT_EQ(Log(*w).lineColors[3].rgb, kLogGreen);
}

TEST_F(PairingInLab, APairingNobodyTriggersStopsAfterThirtyWaitsAndRefusalsAreLogged) {
    auto sim = StartOneHost(R"("pairing": {"learnAfterMs": -1, "paired": ["020706"]},
        "faults": [{"match": "1382", "result": 3}])");
    auto w = OpenWindow();
    Choose(*w, 2, 5, 0);  // patrol device 6: the host refuses the deletion
    w->DeletePairing();
    ASSERT_EQ(Log(*w).lines.size(), 1u);
    EXPECT_EQ(Log(*w).lines[0].substr(19), " 无线设备对码:拒绝!");
    EXPECT_EQ(sim->LogLines(BuildFrame("13", "82", "19020706")).size(), 1u);

    // A remote control nobody triggers: thirty seconds, then pause and stop.
    Choose(*w, 0, 0, 0);
    const auto start = std::chrono::steady_clock::now();
    w->StartPairing();
    EXPECT_GE(Since(start), kPairingWaits * kPairingWaitMs - 500);
    ASSERT_EQ(Log(*w).lines.size(), 3u);
    EXPECT_NE(Log(*w).lines[1].find(" [遥控器] 进入对码状态"), std::string::npos);
    EXPECT_EQ(Log(*w).lines[2].substr(19), " 已停止对码.");
    EXPECT_FALSE(sim->LogLines(BuildFrame("13", "81", "18030000")).empty()) << sim->Log();
    EXPECT_EQ(w->progress, kPairingWaits);
}

class AlarmPageInLab : public LabWindowFixture {
  protected:
    void SetUp() override {
        LabWindowFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        page = dynamic_cast<AlarmInfoPage*>(&window->Page(kAlarmPage));
    }
    const SheetCells& Grid() { return page->Controls()["strgridAlarmInfo"].cells; }
    AlarmInfoPage* page = nullptr;
};

TEST_F(AlarmPageInLab, RefreshPagingAndExportShowTheHostsHistory) {
    std::string records;
    for (int n = 1; n <= 23; ++n)
        records += std::string(n > 1 ? ", " : "") + "\"00" + ByteHex(static_cast<unsigned>(n)) +
                   "9005140830080401" + "1A\"";
    auto sim = StartOneHost(R"("history": [)" + records + "]");
    window->PageChange(kAlarmPage);
    EXPECT_EQ(sim->LogLines(BuildFrame("12", "86", "00010014")).size(), 1u) << sim->Log();
    EXPECT_NE(tdm->trace.Text().find(std::string(kAlarmHistoryPair)), std::string::npos);
    EXPECT_EQ(Grid()[1], (std::vector<std::string>{"  1", " 05-14", " 08:30", " 11", " 键盘操作",
                                                   " 网络远程撤防"}));
    EXPECT_EQ(Grid()[20][0], "  20");

    page->Controls().Click("bbtnPageDown");
    EXPECT_EQ(sim->LogLines(BuildFrame("12", "86", "00150028")).size(), 1u);
    EXPECT_EQ(Grid()[3][0], "  23");
    EXPECT_EQ(Grid()[4], std::vector<std::string>(6));  // fewer than twenty

    page->Controls()["cbStartNo"].text = "41";
    window->Refresh();
    EXPECT_EQ(Grid()[1], std::vector<std::string>(6));  // none

    page->Controls().Click("bbtnPageUp");
    const std::string path = dir.File("警情信息表");
    page->chooseExportPath = [&](const std::string&) { return path; };
    page->Controls().Click("bbtnToExcel");
    XlsxContent book = ReadXlsx(path + ".xlsx");
    EXPECT_EQ(book.sheetNames.front(), "sheet1");
    // Empty cells are not stored: the sheet reads as the grid's 21 by 6.
    ASSERT_LE(book.cells.size(), 21u);
    book.cells.resize(21);
    for (auto& row : book.cells) row.resize(6);
    EXPECT_EQ(book.cells, Grid());
    EXPECT_EQ(book.cells[3][0], "  23");
}

}  // namespace
}  // namespace tarnwick::testing
