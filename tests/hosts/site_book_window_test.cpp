#include "hosts/site_book_window.h"

#include <gtest/gtest.h>

#include <fstream>

#include "storage/schema_migrations.h"
#include "storage/sqlite_database.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"

namespace tarnwick {
namespace {

struct WindowFixture {
    WindowFixture() {
        EnsureDatabase(dir.File("db.mdb"));
        MigrateSchema(db);
    }
    // The edit dialog takes each entry in turn (name, address, port, notes)
    // and is cancelled once they are used up; what it showed is kept.
    void Typing(std::vector<SiteInput> typed) {
        window.edit.show = [this, typed, n = size_t{0}](SiteEditDialog& d) mutable {
            shown.push_back(d.Typed());
            titles.push_back(d.title);
            if (n == typed.size()) return false;
            d.Fill(typed[n++]);
            return true;
        };
    }
    std::vector<std::string> GridColumn(size_t column) const {
        std::vector<std::string> cells;
        for (const auto& row : window.controls["strgridSites"].cells) cells.push_back(row[column]);
        return cells;
    }

    testing::TempDir dir;
    SqliteDatabase db{dir.File("db.mdb")};
    testing::RecordingOperator op;
    SiteBookWindow window{op, db};
    std::vector<SiteInput> shown;
    std::vector<std::string> titles;
};

TEST(SiteBookWindow, AWrongFieldIsNamedAndTheDialogComesBackWithWhatWasTyped) {
    WindowFixture w;
    w.window.Reload();
    EXPECT_EQ(w.GridColumn(0), std::vector<std::string>{"站点名称"});
    EXPECT_EQ(w.window.selected, 0);
    w.Typing(
        {{"城西仓库", "10.88.0.256", "5300", "二楼"}, {"城西仓库", "10.88.0.5", "5300", "二楼"}});
    w.window.controls.Click("bbtnAddSite");
    ASSERT_EQ(w.op.boxes.size(), 1u);
    EXPECT_EQ(w.op.boxes[0].kind, "warning");
    EXPECT_EQ(w.op.boxes[0].text, "IP地址“10.88.0.256”不是IPv4地址。");
    ASSERT_EQ(w.shown.size(), 2u);
    EXPECT_EQ(w.shown[0].port, "5200");  // a new site offers the host port
    EXPECT_EQ(w.shown[1].address, "10.88.0.256");
    EXPECT_EQ(w.titles[0], kAddSiteTitle);
    EXPECT_EQ(w.GridColumn(0), (std::vector<std::string>{"站点名称", "城西仓库"}));
    EXPECT_EQ(w.GridColumn(2), (std::vector<std::string>{"端口", "5300"}));

    // Edited: the dialog shows the site, a cancel changes nothing.
    w.Typing({});
    w.window.controls.Click("bbtnEditSite");
    EXPECT_EQ(w.titles.back(), kEditSiteTitle);
    EXPECT_EQ(w.shown.back().address, "10.88.0.5");
    EXPECT_EQ(w.shown.back().notes, "二楼");
    EXPECT_EQ(w.op.boxes.size(), 1u);
}

TEST(SiteBookWindow, RemovingAsksFirstAndTheAnswerNoKeepsTheSite) {
    WindowFixture w;
    SiteBook book(w.db);
    ASSERT_EQ(book.Add({"城东门店", "10.77.0.12", "", ""}), "");
    ASSERT_EQ(book.Add({"城西仓库", "10.88.0.5", "", ""}), "");
    w.window.Reload();
    w.window.selected = 2;
    w.op.answers = {false, true};
    w.window.controls.Click("bbtnRemoveSite");
    ASSERT_EQ(w.op.boxes.size(), 1u);
    EXPECT_EQ(w.op.boxes[0].kind, "ask");
    EXPECT_EQ(w.op.boxes[0].text, "确定要从站点簿中删除站点“城西仓库”吗？");
    EXPECT_EQ(book.List().size(), 2u);
    w.window.controls.Click("bbtnRemoveSite");
    EXPECT_EQ(w.GridColumn(0), (std::vector<std::string>{"站点名称", "城东门店"}));
    EXPECT_EQ(w.window.selected, 1);
}

// The import's report comes first as a dry run; its 否 stores nothing.
TEST(SiteBookWindow, ImportShowsItsReportBeforeStoringAndExportWritesTheBook) {
    WindowFixture w;
    const std::string in = w.dir.File("in.csv");
    std::ofstream(in) << "站点名称,IP地址\n一号店,10.77.0.1\n二号店,10.77.0.256\n";
    w.window.chooseImportPath = [&] { return in; };
    w.op.answers = {false, true};
    const std::string skipped = "\r\n第3行：IP地址“10.77.0.256”不是IPv4地址。";
    w.window.controls.Click("bbtnImportSites");
    ASSERT_EQ(w.op.boxes.size(), 1u);
    EXPECT_EQ(w.op.boxes[0].kind, "ask");
    EXPECT_EQ(w.op.boxes[0].text,
              "试导入：可导入1个站点（文件编码：UTF-8），站点簿未改动。\r\n以下1行将跳过：" +
                  skipped + "\r\n\r\n" + ImportSitesQuestion(1));
    EXPECT_TRUE(SiteBook(w.db).List().empty());
    w.window.controls.Click("bbtnImportSites");
    ASSERT_EQ(w.op.boxes.size(), 3u);
    EXPECT_EQ(w.op.boxes[2].kind, "warning");
    EXPECT_EQ(w.op.boxes[2].text,
              "已导入1个站点（文件编码：UTF-8）。\r\n以下1行已跳过：" + skipped);
    EXPECT_EQ(w.GridColumn(0), (std::vector<std::string>{"站点名称", "一号店"}));

    std::string offered;
    w.window.chooseExportPath = [&](const std::string& suggested) {
        offered = suggested;
        return w.dir.File("out");
    };
    w.window.controls.Click("bbtnExportSites");
    EXPECT_EQ(offered, "站点簿.csv");
    std::ifstream out(w.dir.File("out.csv"));
    std::string header;
    std::getline(out, header);
    EXPECT_EQ(header,
              "\xEF\xBB\xBF站点名称,IP地址,端口,备注,设备ID,主机类型,模块类型,最后在线,最后备份\r");
    EXPECT_EQ(w.op.boxes.back().text, "站点簿的1个站点已导出到\r\n" + w.dir.File("out.csv"));

    // A book the database cannot give is said, not shown empty as if it were.
    w.db.Execute("DROP TABLE Site", {});
    w.window.Reload();
    EXPECT_EQ(w.op.boxes.back().kind, "error");
    EXPECT_EQ(w.op.boxes.back().text.rfind(kSiteBookProblemText, 0), 0u);
}

}  // namespace
}  // namespace tarnwick
