#include "operation/alarm_info_page.h"

#include <gtest/gtest.h>

#include "app/page_table.h"
#include "hosts/host_window.h"
#include "operation/alarm_records.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "storage/archives.h"
#include "support/host_window_fixture.h"
#include "support/xlsx_reader.h"

namespace tarnwick {
namespace {

using testing::HostDatagram;

// The host window on page 6, with a host that answers every history request
// with `records` (22 hex digits each).
struct AlarmPageTest : ::testing::Test, testing::HostWindowFixture {
    AlarmPageTest() {
        AutoRefresh(true);
        page = dynamic_cast<AlarmInfoPage*>(&window.Page(PageIndex(PageId::AlarmInfo)));
        f.client().responder = [this](const std::string& payload) -> std::vector<std::string> {
            requests.push_back(Slice(payload, 13, 20));
            std::string area;
            for (const std::string& r : records) area += r;
            return {HostDatagram("12", "06", "01" + area)};
        };
    }
    void Refresh() {
        if (window.ActivePage() != PageIndex(PageId::AlarmInfo))
            window.PageChange(PageIndex(PageId::AlarmInfo));
        else
            window.Refresh();
    }
    const SheetCells& Grid() { return page->Controls()["strgridAlarmInfo"].cells; }
    std::string& Start() { return page->Controls()["cbStartNo"].text; }

    AlarmInfoPage* page = nullptr;
    std::vector<std::string> records;
    std::vector<std::string> requests;  // the data of every request sent
};

TEST_F(AlarmPageTest, ShowsEachKindOfRecordByItsColumnRules) {
    records = {
        "00039005140830080401"
        "1A",  // zone 8 + bit 04 (3), keyboard operator
        "00049206010915050102"
        "03",  // zones 1,3 and 9 from the two masks
        "00059311221745ABCD7E"
        "01",  // another kind: its bytes as they are
        "00069001010101080301"
        "01",                      // two bits set: no offset, the base alone
        "0007000077665544332211",  // kind and month 00: a row of blanks
    };
    Refresh();
    ASSERT_EQ(requests, (std::vector<std::string>{"00010014"}));
    const SheetCells expected = {
        {" 序号", " 日期", " 时间", " 防区号", " 操作员", " 警情码"},
        {"  3", " 05-14", " 08:30", " 11", " 键盘操作", " 网络远程撤防"},
        {"  4", " 06-01", " 09:15", " 1,3,9,", " #02", " 防盗报警"},
        {"  5", " 11-22", " 17:45", " AB:CD", "  7E", " 紧急报警"},
        {"  6", " 01-01", " 01:01", " 8", " 键盘操作", " 紧急报警"},
        {"  ", " ", " ", " ", " ", " "},
    };
    ASSERT_EQ(Grid().size(), 21u);
    for (size_t r = 0; r < expected.size(); ++r) EXPECT_EQ(Grid()[r], expected[r]) << r;
    for (size_t r = expected.size(); r < Grid().size(); ++r)
        EXPECT_EQ(Grid()[r], std::vector<std::string>(6)) << r;

    // A host that does not answer leaves the rows shown, and says so once.
    auto host = f.client().responder;
    f.client().responder = nullptr;
    Refresh();
    EXPECT_EQ(Grid()[1], expected[1]);
    ASSERT_EQ(f.op.boxes.size(), 1u);
    EXPECT_EQ(f.op.boxes[0].text, kSilentRefreshText);
    // The next answered read starts from a cleared grid: no record leaves
    // the headers.
    f.client().responder = host;
    records.clear();
    Refresh();
    EXPECT_EQ(Grid()[0], expected[0]);
    EXPECT_EQ(Grid()[1], std::vector<std::string>(6));
}

// Every page read is archived, each record once, empty ones left out.
TEST_F(AlarmPageTest, EveryPageReadKeepsItsRecordsInTheArchiveOnce) {
    records = {"000390051408300804011A", "0004920601090501020203", "0007000077665544332211"};
    Refresh();
    Refresh();
    EXPECT_EQ(ArchivedAlarmRecords(*f.db, f.tdm->session.CurrentHost()),
              (std::vector<std::string>{records[0], records[1]}));
}

TEST_F(AlarmPageTest, PagingMovesTheStartByTwentyAndReadsAgain) {
    struct Case {
        std::string start;
        int direction;
        std::string after, data;  // empty data: nothing sent
    };
    const Case cases[] = {
        {"1", +1, "21", "00150028"},    {"21", -1, "1", "00010014"},   {"15", -1, "15", "000F0022"},
        {"41", -1, "21", "00150028"},   {"abc", +1, "21", "00150028"}, {"", -1, "", ""},
        {"201", +1, "221", "00DD00F0"},
    };
    Refresh();
    for (const Case& c : cases) {
        Start() = c.start;
        requests.clear();
        page->Controls().Click(c.direction > 0 ? "bbtnPageDown" : "bbtnPageUp");
        EXPECT_EQ(Start(), c.after) << c.start;
        EXPECT_EQ(requests,
                  c.data.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.data})
            << c.start;
    }
}

TEST_F(AlarmPageTest, AStartThatIsNoNumberOrTooLargeSendsNothing) {
    for (const char* start : {"", "1x", "65517", "99999999999"}) {
        records = {
            "00019005140830080401"
            "1A"};
        Start() = start;
        Refresh();
        EXPECT_TRUE(requests.empty()) << start;
        EXPECT_EQ(Grid()[1], std::vector<std::string>(6)) << start;
    }
    Start() = "65516";
    Refresh();
    EXPECT_EQ(requests, (std::vector<std::string>{"FFECFFFF"}));
}

TEST_F(AlarmPageTest, ShowsTwentyRecordsAtMostAndStopsAtAnUnreadableZone) {
    for (int n = 1; n <= 23; ++n)
        records.push_back(ByteHex(0) + ByteHex(static_cast<unsigned>(n)) + "9212251030010000" +
                          "03");
    Refresh();
    EXPECT_EQ(Grid().size(), 21u);
    EXPECT_EQ(Grid()[20][0], "  20");
    EXPECT_TRUE(f.tdm->params.Has("AlarmInfo23"));

    // A kind-90 record whose zone base is not decimal ends the display there.
    records = {
        "00019005140830080401"
        "1A",
        "00029005140830"
        "0A"
        "0401"
        "1A",
        "00039005140830080401"
        "1A"};
    Refresh();
    EXPECT_EQ(Grid()[1][0], "  1");
    EXPECT_EQ(Grid()[2], (std::vector<std::string>{"  2", " 05-14", " 08:30", "", "", ""}));
    EXPECT_EQ(Grid()[3], std::vector<std::string>(6));
}

TEST_F(AlarmPageTest, EvenDataRowsAreGreyWithGreenTextBesideTheNumber) {
    for (int row = 0; row <= 20; ++row)
        for (int col = 0; col < 6; ++col) {
            const AlarmCellStyle style = AlarmCellStyleAt(row, col);
            const bool shaded = row >= 2 && row % 2 == 0 && col >= 1;
            EXPECT_EQ(style.background, shaded ? 0xF5F5F5u : 0u) << row << "," << col;
            EXPECT_EQ(style.text, shaded ? 0x008000u : 0u) << row << "," << col;
        }
}

TEST_F(AlarmPageTest, ExportWritesTheGridIntoSheetOneOfAWorkbook) {
    for (int n = 1; n <= 20; ++n)
        records.push_back("00" + ByteHex(static_cast<unsigned>(n)) + "9005140830080401" + "1A");
    Refresh();
    std::string chosen = f.dir.File("警情信息表");
    std::string offered;
    page->chooseExportPath = [&](const std::string& suggested) {
        offered = suggested;
        return chosen;
    };
    page->Controls().Click("bbtnToExcel");
    // The dialog offers a name that tells the host and the day.
    EXPECT_EQ(offered, "警情信息_10.77.0.11_20261207.xlsx");
    const testing::XlsxContent book = testing::ReadXlsx(chosen + ".xlsx");
    ASSERT_FALSE(book.sheetNames.empty());
    EXPECT_EQ(book.sheetNames[0], "sheet1");
    EXPECT_EQ(book.cells, Grid());  // 21 rows by 6 columns, leading blanks kept
    // The same box as the export of the whole history: the file and the rows.
    ASSERT_EQ(f.op.boxes.size(), 1u);
    EXPECT_EQ(f.op.boxes[0].kind, "information");
    EXPECT_EQ(f.op.boxes[0].text, "已将20条警情记录导出到文件\r\n" + chosen + ".xlsx");

    // A name with its own extension keeps it; a page of three records says
    // three; a cancelled dialog writes nothing and says nothing.
    records.resize(3);
    Refresh();
    f.op.boxes.clear();
    chosen = f.dir.File("page.xls");
    page->Controls().Click("bbtnToExcel");
    EXPECT_EQ(testing::ReadXlsx(chosen).cells.size(), 4u);  // empty rows hold no cells
    ASSERT_EQ(f.op.boxes.size(), 1u);
    EXPECT_EQ(f.op.boxes[0].text, "已将3条警情记录导出到文件\r\n" + chosen);
    chosen.clear();
    page->Controls().Click("bbtnToExcel");
    EXPECT_EQ(f.op.boxes.size(), 1u);
}

TEST_F(AlarmPageTest, AFailedExportNamesThePathAndTheReason) {
    Refresh();
    const std::string path = f.dir.File("missing/警情信息表.xlsx");
    page->chooseExportPath = [&](const std::string&) { return path; };
    page->Controls().Click("bbtnToExcel");
    ASSERT_EQ(f.op.boxes.size(), 1u);
    EXPECT_EQ(f.op.boxes[0].kind, "warning");
    EXPECT_NE(f.op.boxes[0].text.find(path), std::string::npos);
    EXPECT_NE(f.op.boxes[0].text.find("No such file or directory"), std::string::npos);
}

// The whole history, paged through while the grid keeps its page, in one
// workbook; a cancelled dialog reads nothing.
TEST_F(AlarmPageTest, ExportAllReadsEveryPageIntoOneWorkbook) {
    f.client().responder = [this](const std::string& payload) -> std::vector<std::string> {
        const int first = HexToInt(Slice(payload, 13, 16));
        requests.push_back(Slice(payload, 13, 20));
        std::string area;
        for (int n = first; n < first + 20 && n <= 25; ++n)
            area += ByteHex(static_cast<unsigned>(n) >> 8) +
                    ByteHex(static_cast<unsigned>(n) & 0xFF) + "9005140830080401" + "1A";
        return {HostDatagram("12", "06", "01" + area)};
    };
    std::string chosen;
    page->chooseExportPath = [&](const std::string&) { return chosen; };
    page->Controls().Click("bbtnAllToExcel");
    EXPECT_TRUE(requests.empty());

    chosen = f.dir.File("全部警情");
    page->Controls().Click("bbtnAllToExcel");
    EXPECT_EQ(requests, (std::vector<std::string>{"00010014", "00150028", "0029003C"}));
    const testing::XlsxContent book = testing::ReadXlsx(chosen + ".xlsx");
    ASSERT_EQ(book.cells.size(), 26u);  // the header and 25 records
    EXPECT_EQ(book.cells[0], Grid()[0]);
    ASSERT_EQ(f.op.boxes.size(), 1u);
    EXPECT_EQ(f.op.boxes[0].kind, "information");
    EXPECT_NE(f.op.boxes[0].text.find("已将25条警情记录导出到文件"), std::string::npos)
        << f.op.boxes[0].text;
    EXPECT_FALSE(f.tdm->flowRunning);
}

TEST(AlarmExportPath, AppendsTheExtensionOnlyWhenTheNameHasNone) {
    EXPECT_EQ(WithExportExtension("/tmp/表"), "/tmp/表.xlsx");
    EXPECT_EQ(WithExportExtension("/tmp/a.b/表"), "/tmp/a.b/表.xlsx");
    EXPECT_EQ(WithExportExtension("/tmp/.hidden"), "/tmp/.hidden.xlsx");
    EXPECT_EQ(WithExportExtension("/tmp/表.xlsx"), "/tmp/表.xlsx");
}

}  // namespace
}  // namespace tarnwick
