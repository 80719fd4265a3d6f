#include "storage/site_book.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "protocol/unicast_address.h"
#include "storage/replacement_file.h"
#include "storage/schema_migrations.h"
#include "storage/site_csv.h"
#include "storage/sqlite_database.h"
#include "support/temp_dir.h"

namespace tarnwick {

void PrintTo(const SkippedLine& s, std::ostream* os) {
    *os << s.line << " " << s.reason;
}

namespace {

// A fresh database with the site book.
struct BookFixture {
    BookFixture() {
        EnsureDatabase(dir.File("db.mdb"));
        MigrateSchema(db);
    }
    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream(dir.File(name), std::ios::binary) << text;
        return dir.File(name);
    }
    testing::TempDir dir;
    SqliteDatabase db{dir.File("db.mdb")};
    SiteBook book{db};
};

// The network of the lab's tool namespace, 10.231.0.0/16.
const std::vector<LocalNetwork> kLab = {{0x0AE70001, 0xFFFF0000, 0}};
const std::string kNotOneHost = std::string(kNotOneHostText) + "。";

TEST(SiteBook, EachFieldIsCheckedAndTheMessageNamesIt) {
    struct Case {
        SiteInput input;
        std::string problem;  // empty: taken
    };
    const Case cases[] = {
        {{"一号店", "10.77.0.11", "", ""}, ""},
        {{" 一号店 ", " 010.077.000.011 ", " 65535 ", " 后门 "}, ""},
        {{"", "10.77.0.11", "", ""}, "站点名称不能为空。"},
        {{"   ", "10.77.0.11", "", ""}, "站点名称不能为空。"},
        {{"店#7", "10.77.0.11", "", ""}, "站点名称“店#7”不能含有“#”。"},
        {{"10.0.0.1", "10.77.0.11", "", ""}, "站点名称“10.0.0.1”不能是IP地址。"},
        {{"一\t号", "10.77.0.11", "", ""}, "站点名称“一\t号”含有换行等控制字符。"},
        {{std::string(41, 'x'), "10.77.0.11", "", ""},
         "站点名称“" + std::string(41, 'x') + "”超过40个字。"},
        {{std::string("\xE5\xBA\x97", 3) + "\xFF", "10.77.0.11", "", ""},
         "站点名称不是有效的文字。"},
        {{"一号店", "", "", ""}, "IP地址不能为空。"},
        {{"一号店", "10.77.0.256", "", ""}, "IP地址“10.77.0.256”不是IPv4地址。"},
        {{"一号店", "255.255.255.255", "", ""}, "IP地址“255.255.255.255”" + kNotOneHost},
        {{"一号店", "224.0.0.1", "", ""}, "IP地址“224.0.0.1”" + kNotOneHost},
        {{"一号店", "0.0.0.0", "", ""}, "IP地址“0.0.0.0”" + kNotOneHost},
        // The directed broadcast of this computer's network (the lab's /16).
        {{"广播", "10.231.255.255", "", ""}, "IP地址“10.231.255.255”" + kNotOneHost},
        {{"一号店", "shop.example", "", ""}, "IP地址“shop.example”不是IPv4地址。"},
        {{"一号店", "10.77.0.11", "0", ""}, "端口“0”不是1到65535之间的数。"},
        {{"一号店", "10.77.0.11", "65536", ""}, "端口“65536”不是1到65535之间的数。"},
        {{"一号店", "10.77.0.11", "-1", ""}, "端口“-1”不是1到65535之间的数。"},
        {{"一号店", "10.77.0.11", "52OO", ""}, "端口“52OO”不是1到65535之间的数。"},
        {{"一号店", "10.77.0.11", "99999999999", ""}, "端口“99999999999”不是1到65535之间的数。"},
        {{"一号店", "10.77.0.11", "", "一行\n两行"}, "备注含有换行等控制字符或无效的文字。"},
        {{"一号店", "10.77.0.11", "", std::string(501, 'n')}, "备注超过500个字。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.name + "|" + c.input.address + "|" + c.input.port);
        const SiteCheck check = CheckSiteInput(c.input, kLab);
        EXPECT_EQ(check.problem, c.problem);
        EXPECT_EQ(check.site.has_value(), c.problem.empty());
    }
    const SiteCheck tidy = CheckSiteInput({" 一号店 ", " 010.077.000.011 ", "", " 后门 "});
    ASSERT_TRUE(tidy.site);
    EXPECT_EQ(tidy.site->name, "一号店");
    EXPECT_EQ(tidy.site->address, "10.77.0.11");
    EXPECT_EQ(tidy.site->port, 5200);
    EXPECT_EQ(tidy.site->notes, "后门");
}

TEST(SiteBook, NamesAndAddressesAreUniqueAndABadSiteStoresNothing) {
    BookFixture b;
    EXPECT_EQ(b.book.Add({"Shop-1", "10.77.0.11", "6000", "前台"}), "");
    EXPECT_EQ(b.book.Add({"shop-1", "10.77.0.12", "", ""}), "站点名称“shop-1”已存在。");
    EXPECT_EQ(b.book.Add({"Shop-2", "010.77.0.11", "", ""}),
              "IP地址 10.77.0.11 已属于站点“Shop-1”。");
    EXPECT_EQ(b.book.Add({"Shop-2", "10.77.0.12", "70000", ""}),
              "端口“70000”不是1到65535之间的数。");
    ASSERT_EQ(b.book.List().size(), 1u);

    // What the tool learns stays through an edit; a rename in another case is
    // no clash with itself.
    b.book.RecordSeen({{"10.77.0.11", "100002", "十六防区报警主机", "以太网通讯模块"},
                       {"10.77.0.99", "999999", "", ""}},
                      "2026-12-07 08:30:05");
    b.book.RecordBackup("10.77.0.11", "/backups/shop-1.json");
    b.book.RecordSeen({{"10.77.0.11", "", "", ""}}, "2026-12-08 09:00:00");
    EXPECT_EQ(b.book.Update("shop-1", {"SHOP-1", "10.77.0.13", "", "后门"}), "");
    const std::vector<Site> sites = b.book.List();
    ASSERT_EQ(sites.size(), 1u);
    Site expected{"SHOP-1",
                  "10.77.0.13",
                  5200,
                  "后门",
                  "100002",
                  "十六防区报警主机",
                  "以太网通讯模块",
                  "2026-12-08 09:00:00",
                  "/backups/shop-1.json"};
    EXPECT_EQ(sites[0], expected);

    EXPECT_EQ(b.book.Add({"Shop-2", "10.77.0.11", "", ""}), "");
    EXPECT_EQ(b.book.Update("Shop-2", {"shop-1", "10.77.0.11", "", ""}),
              "站点名称“shop-1”已存在。");
    EXPECT_EQ(b.book.Update("Shop-9", {"Shop-9", "10.77.0.19", "", ""}),
              "站点名称“Shop-9”已不在站点簿中。");
    EXPECT_TRUE(b.book.Remove("shop-2"));
    EXPECT_FALSE(b.book.Remove("Shop-2"));
    EXPECT_EQ(b.book.List().size(), 1u);
}

// What the book stores, its export writes and its import reads back: cells
// a spreadsheet would run as formulas, a long backup path, one in a folder
// named in Latin-1 (written as the JSON output writes it).
TEST(SiteCsv, ExportedSitesComeBackWholeInAnotherBook) {
    BookFixture from;
    ASSERT_EQ(from.book.Add({"城东门店", "10.77.0.11", "6000", "收银台后面，\"弱电箱\", 二楼"}),
              "");
    ASSERT_EQ(from.book.Add({"Shop B", "10.77.0.12", "", ""}), "");
    ASSERT_EQ(from.book.Add({"=HYPERLINK(\"http://x\",\"y\")", "10.77.0.13", "", "-1+1"}), "");
    ASSERT_EQ(from.book.Add({"'引号店", "10.77.0.15", "", "@SUM(A1)"}), "");
    from.book.RecordSeen({{"10.77.0.11", "100002", "十六防区报警主机", "以太网+GPRS通讯模块"},
                          {"10.77.0.13", "=cmd|' /C calc'!A0", "", ""}},
                         "2026-12-07 08:30:05");
    from.book.RecordBackup("10.77.0.11", "/backups/城东, 门店.json");
    from.book.RecordBackup("10.77.0.12",
                           "/backups/" + std::string(330, 'p') + "/a.json");  // 343 bytes
    from.book.RecordBackup("10.77.0.15", "/backups/caf\xE9/b.json");
    const std::string file = from.dir.File("sites.csv");
    EXPECT_EQ(ExportSiteCsvFile(from.book, file), 4u);
    std::ifstream in(file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    for (const char* guarded :
         {"\n\"'=HYPERLINK(", ",'-1+1,", "\n''引号店,", ",'@SUM(A1),", ",'=cmd|"})
        EXPECT_NE(text.find(guarded), std::string::npos) << guarded;

    BookFixture to;
    const SiteImport import = ImportSiteCsvFile(to.book, file);
    EXPECT_EQ(import.problem, "");
    EXPECT_TRUE(import.skipped.empty());
    std::vector<Site> expected = from.book.List();
    for (Site& s : expected)
        if (s.address == "10.77.0.15") s.lastBackup = "/backups/caf\uFFFD/b.json";
    EXPECT_EQ(to.book.List(), expected);
    // Importing the same file again adds nothing: every line names a site
    // the book holds.
    const SiteImport again = ImportSiteCsvFile(to.book, file);
    EXPECT_TRUE(again.imported.empty());
    EXPECT_EQ(again.skipped.size(), 4u);
    EXPECT_EQ(to.book.List().size(), 4u);
}

TEST(SiteCsv, BadLinesAreNamedByNumberAndSkippedTheRestImported) {
    BookFixture b;
    ASSERT_EQ(b.book.Add({"老店", "10.77.0.50", "", ""}), "");
    const std::string text =
        "\xEF\xBB\xBFIP地址, 站点名称 ,端口,备注\r\n"  // 1: any order, blanks around captions
        "10.77.0.1,一号店,,\r\n"                       // 2
        "\r\n"                                         // 3: blank
        "10.77.0.2,二号店,5201,\"两行\n的备注\"\r\n"   // 4-5: a line break inside quotes
        "10.77.0.3,三号店,0,\r\n"                      // 6
        "10.77.0.256,四号店,,\r\n"                     // 7
        "10.77.0.5,一号店,,\r\n"                       // 8: a name line 2 took
        "10.77.0.1,五号店,,\r\n"                       // 9: an address line 2 took
        "10.77.0.6,老店,,\r\n"                         // 10: a name the book holds
        "10.77.0.7,七号店\r\n"                         // 11: a field short
        "10.77.0.8,\"八号\"店,,\r\n"                   // 12: characters after a quote
        ",,,\r\n"                                      // 13: blank fields only
        "10.77.0.9,九号店,,\"不完整\r\n"               // 14: a quote never closed, the
        "10.77.0.10,Depot,,\r\n"                       // 15: lines after it read alone
        "10.77.0.11,DEPOT,,\r\n"                       // 16: line 15's name in capitals
        "10.77.0.12,\"十二号店\",,\r\n";               // 17: the next quote is its own
    const SiteImport import = ImportSiteCsvFile(b.book, b.Write("in.csv", text));
    EXPECT_EQ(import.problem, "");
    const std::vector<SkippedLine> skipped = {
        {4, "备注含有换行等控制字符或无效的文字。"},
        {6, "端口“0”不是1到65535之间的数。"},
        {7, "IP地址“10.77.0.256”不是IPv4地址。"},
        {8, "站点名称“一号店”与第2行重复。"},
        {9, "IP地址 10.77.0.1 与第2行重复。"},
        {10, "站点名称“老店”已存在。"},
        {11, "有2个字段，表头有4个。"},
        {12, "引号结束后还有字符。"},
        {14, "引号没有结束。"},
        {16, "站点名称“DEPOT”与第15行重复。"},
    };
    EXPECT_EQ(import.skipped, skipped);
    std::vector<std::string> names;
    for (const Site& s : b.book.List()) names.push_back(s.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Depot", "一号店", "十二号店", "老店"}));
    const std::string report = SiteImportReportText(import);
    EXPECT_EQ(report.substr(0, report.find('\r')), "已导入3个站点（文件编码：UTF-8）。");
    EXPECT_NE(report.find("第12行：引号结束后还有字符。"), std::string::npos);
    EXPECT_EQ(SkippedReasonText(skipped[9].reason), "站点名称“DEPOT”与第15行重复，已跳过");
}

// Saved by a spreadsheet on Chinese Windows: GBK, a column of the
// spreadsheet's own, a "'" typed before a number. A dry run reports the
// same and stores nothing.
TEST(SiteCsv, AGbkFileWithAColumnOfItsOwnIsTakenAndSaysSo) {
    BookFixture b;
    // "站点名称,IP地址,联系人," then "'0571店,10.77.0.1,张工," twice, in GBK.
    const std::string line = "'0571\xB5\xEA,10.77.0.1,\xD5\xC5\xB9\xA4,\r\n";
    const std::string path = b.Write(
        "gbk.csv",
        "\xD5\xBE\xB5\xE3\xC3\xFB\xB3\xC6,IP\xB5\xD8\xD6\xB7,\xC1\xAA\xCF\xB5\xC8\xCB,\r\n" + line +
            line);
    const SiteImport dry = ImportSiteCsvFile(b.book, path, ImportMode::DryRun);
    EXPECT_TRUE(b.book.List().empty());
    const SiteImport import = ImportSiteCsvFile(b.book, path);
    for (const SiteImport* run : {&dry, &import}) {
        EXPECT_EQ(run->encoding, "GBK");
        ASSERT_EQ(run->warnings.size(), 2u);
        EXPECT_EQ(run->warnings[0].rfind("第1行（表头）的列“联系人”不认识，已忽略。", 0), 0u);
        EXPECT_EQ(run->warnings[1], "第1行（表头）的第4列没有列名，已忽略。");
        EXPECT_EQ(run->skipped, (std::vector<SkippedLine>{{3, "站点名称“'0571店”与第2行重复。"}}));
    }
    ASSERT_EQ(b.book.List().size(), 1u);
    EXPECT_EQ(b.book.List()[0].name, "'0571店");
}

TEST(SiteCsv, AFileThatCannotBeTakenAsAWholeStoresNothing) {
    BookFixture b;
    const std::pair<std::string, std::string> files[] = {
        {"", "文件是空的，没有表头行。"},
        {"\n,,\n", "文件是空的，没有表头行。"},
        {"名称,IP地址\n一号店,10.77.0.1\n", "第1行（表头）缺少“站点名称”列。"},
        {"站点名称,端口\n一号店,5200\n", "第1行（表头）缺少“IP地址”列。"},
        {"站点名称,IP地址,站点名称\n", "第1行（表头）的列“站点名称”出现了两次。"},
        {"name,ip\n\xFF\xFE,10.77.0.1\n",
         "第2行既不是UTF-8也不是GBK编码的文字：请把文件以UTF-8编码保存后再导入。"},
    };
    int n = 0;
    for (const auto& [text, problem] : files) {
        SCOPED_TRACE(problem);
        const SiteImport import =
            ImportSiteCsvFile(b.book, b.Write("bad" + std::to_string(n++) + ".csv", text));
        EXPECT_EQ(import.problem, problem);
        EXPECT_TRUE(import.imported.empty());
    }
    EXPECT_NE(ImportSiteCsvFile(b.book, b.dir.File("missing.csv")).problem, "");
    EXPECT_NE(ImportSiteCsvFile(b.book, b.dir.Path().string()).problem, "");
    EXPECT_TRUE(b.book.List().empty());

    // A failure of the database half-way through stores none of the lines.
    b.db.Execute(
        "CREATE TRIGGER refuse BEFORE INSERT ON Site WHEN NEW.Name = '三号店' "
        "BEGIN SELECT RAISE(ABORT, 'disk full'); END",
        {});
    const std::string three = b.Write(
        "three.csv", "站点名称,IP地址\n一号店,10.77.0.1\n二号店,10.77.0.2\n三号店,10.77.0.3\n");
    EXPECT_THROW(ImportSiteCsvFile(b.book, three), DatabaseError);
    EXPECT_TRUE(b.book.List().empty());
}

TEST(SiteCsv, APipeIsNotWaitedOnAndAReadOnlyFileIsNotReplaced) {
    BookFixture b;
    ASSERT_EQ(b.book.Add({"一号店", "10.77.0.1", "", ""}), "");
    const std::string pipe = b.dir.File("pipe.csv");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Nobody writes into the pipe: reading it would never end.
    for (const std::string& path : {pipe, std::string("/dev/zero")})
        EXPECT_EQ(ImportSiteCsvFile(b.book, path).problem, "“" + path + "”不是普通文件。");

    const std::string kept = b.Write("kept.csv", "the installer's own\n");
    ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);
    try {
        ExportSiteCsvFile(b.book, kept);
        ADD_FAILURE() << "replaced";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "无法写入文件“" + kept + "”（" + kReadOnlyTargetText + "）。");
    }
    std::ifstream in(kept);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the installer's own\n");
    struct stat info {};
    ASSERT_EQ(::stat(kept.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    // Only the file itself is left in the folder: no temporary one beside it.
    size_t beside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(b.dir.Path()))
        beside += entry.path().string().find("kept.csv.") != std::string::npos;
    EXPECT_EQ(beside, 0u);
}

}  // namespace
}  // namespace tarnwick
