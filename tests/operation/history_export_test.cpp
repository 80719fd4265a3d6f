#include "operation/history_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "storage/xlsx_spreadsheet.h"
#include "support/core_fixture.h"
#include "support/xlsx_reader.h"

namespace tarnwick {
namespace {

using testing::HostDatagram;

// Record n of the scripted host: a zone event numbered n.
std::string Record(int n) {
    return ByteHex(static_cast<unsigned>(n) >> 8) + ByteHex(static_cast<unsigned>(n) & 0xFF) +
           "9005140830080401" + "1A";
}

// A host whose history holds `count` records and answers every history read
// with those of its range; `silentFrom`, when set, is the first start number
// it no longer answers, `refuseFrom` the first it refuses.
struct HistoryHost : ::testing::Test {
    HistoryHost() {
        f.tdm->session.SetCurrentHost("10.77.0.11");
        f.client().responder = [this](const std::string& payload) -> std::vector<std::string> {
            // Record numbers such as 0x017D travel escaped.
            const std::string request = UnescapeFrame(payload);
            const int first = HexToInt(Slice(request, 13, 16));
            const int last = HexToInt(Slice(request, 17, 20));
            starts.push_back(first);
            if (silentFrom > 0 && first >= silentFrom) return {};
            if (refuseFrom > 0 && first >= refuseFrom) return {HostDatagram("12", "06", "02")};
            std::string area;
            for (int n = first; n <= last && n <= static_cast<int>(records.size()); ++n)
                area += records[static_cast<size_t>(n - 1)];
            return {HostDatagram("12", "06", "01" + area)};
        };
    }
    void Fill(int count) {
        records.clear();
        for (int n = 1; n <= count; ++n) records.push_back(Record(n));
    }

    testing::CoreFixture f;
    XlsxSpreadsheet spreadsheet;
    std::vector<std::string> records;
    std::vector<int> starts;  // the first record number of every read sent
    int silentFrom = 0;
    int refuseFrom = 0;
};

TEST_F(HistoryHost, PagesUntilAnEmptyReadOrThePageLimit) {
    struct Case {
        int count;
        int pageLimit;
        std::vector<int> starts;
        size_t records;
        bool complete;
    };
    const Case cases[] = {
        {55, 0, {1, 21, 41, 61}, 55, true},  // the last page is short, the next one empty
        {40, 0, {1, 21, 41}, 40, true},      // full pages, then an empty one
        {0, 0, {1}, 0, true},                // an empty history: the header alone
        {55, 2, {1, 21}, 40, false},         // the limit stops it before the end
        {55, 4, {1, 21, 41, 61}, 55, true},  // a limit the history ends within
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.count << " records, limit " << c.pageLimit);
        Fill(c.count);
        starts.clear();
        const AlarmHistory history = ReadWholeHistory(*f.tdm, c.pageLimit);
        EXPECT_EQ(starts, c.starts);
        ASSERT_EQ(history.records.size(), c.records);
        for (size_t i = 0; i < history.records.size(); ++i)
            EXPECT_EQ(history.records[i], records[i]) << i;
        EXPECT_EQ(history.complete, c.complete);
        EXPECT_FALSE(history.numbersRanOut);
        EXPECT_EQ(history.pages, static_cast<int>(c.starts.size()));
    }
}

TEST_F(HistoryHost, AHistoryBeyondTheLastRecordNumberIsNotCalledComplete) {
    // Record numbers are 16 bits: the last full read is 65501 to 65520.
    Fill(65535);
    const AlarmHistory history = ReadWholeHistory(*f.tdm, 0);
    EXPECT_EQ(history.records.size(), 65520u);
    EXPECT_EQ(history.pages, 3276);
    EXPECT_EQ(starts.back(), 65501);
    EXPECT_FALSE(history.complete);
    EXPECT_TRUE(history.numbersRanOut);
}

TEST_F(HistoryHost, ExportWritesEveryRecordBelowTheHeaderOfTheHistoryPage) {
    Fill(55);
    // Record 31's zone base (byte 8, "0A") is not two decimal digits.
    records[30] = "001F90051408300A04011A";
    const std::string path = f.dir.File("history");
    const HistoryExport done = ExportWholeHistory(*f.tdm, spreadsheet, path, 0);
    EXPECT_EQ(done.path, path + ".xlsx");
    EXPECT_EQ(done.unreadable, 1);
    const testing::XlsxContent book = testing::ReadXlsx(done.path);
    ASSERT_FALSE(book.sheetNames.empty());
    EXPECT_EQ(book.sheetNames[0], "sheet1");
    ASSERT_EQ(book.cells.size(), 56u);
    EXPECT_EQ(book.cells[0], (std::vector<std::string>{" 序号", " 日期", " 时间", " 防区号",
                                                       " 操作员", " 警情码"}));
    EXPECT_EQ(book.cells[1], (std::vector<std::string>{"  1", " 05-14", " 08:30", " 11",
                                                       " 键盘操作", " 网络远程撤防"}));
    // The unreadable record keeps what could be read (the empty cells are
    // not in the file); the rows after it follow.
    EXPECT_EQ(book.cells[31], (std::vector<std::string>{"  31", " 05-14", " 08:30"}));
    EXPECT_EQ(book.cells[32][0], "  32");
    EXPECT_EQ(book.cells[55][0], "  55");
}

TEST_F(HistoryHost, AReadThatFailsHalfWayNamesItAndWritesNoFile) {
    struct Case {
        int silentFrom;
        int refuseFrom;
        std::string named;
    };
    const Case cases[] = {
        {41, 0, "第41条起的警情记录: 主机无应答"},
        {0, 21, "第21条起的警情记录: 失败!"},
    };
    Fill(55);
    for (const Case& c : cases) {
        silentFrom = c.silentFrom;
        refuseFrom = c.refuseFrom;
        const std::string path = f.dir.File("broken.xlsx");
        try {
            ExportWholeHistory(*f.tdm, spreadsheet, path, 0);
            ADD_FAILURE() << "no error for " << c.named;
        } catch (const HistoryExportError& e) {
            EXPECT_EQ(std::string(e.what()), c.named);
        }
        EXPECT_FALSE(std::filesystem::exists(path)) << c.named;
    }
}

}  // namespace
}  // namespace tarnwick
