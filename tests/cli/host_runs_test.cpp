#include "host_runs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "cli_host.h"
#include "host_options.h"
#include "protocol/text_helpers.h"
#include "storage/site_book.h"
#include "storage/sqlite_database.h"
#include "support/temp_dir.h"

namespace tarnwick::cli {
namespace {

std::vector<HostTarget> Addresses(int count) {
    std::vector<HostTarget> list;
    for (int i = 1; i <= count; ++i) {
        HostTarget host;
        host.address = "10.0.0." + std::to_string(i);
        list.push_back(host);
    }
    return list;
}

TEST(ForEachHostTest, AFailureStaysWithItsHostAndItsBoxesDoNotReachTheNext) {
    // One thread: every host goes through the same core, in order.
    HostOptions options;
    options.jobs = 1;
    const auto results = ForEachHost(Addresses(3), options, [](CliHost& host, HostResult& r) {
        if (!host.Operator().boxes.empty()) r.message = "boxes of an earlier host";
        if (r.address == "10.0.0.2") {
            host.Operator().Warning("连接主机失败，请稍候重试！");
            throw HostError("10.0.0.2: 安装员密码有误");
        }
        r.file = r.address + ".json";
    });
    ASSERT_EQ(results.size(), 3u);
    EXPECT_TRUE(results[0].ok);
    EXPECT_FALSE(results[1].ok);
    // The address is in the result line already; the box the flow showed follows.
    EXPECT_EQ(results[1].message, "安装员密码有误; 连接主机失败，请稍候重试！");
    EXPECT_TRUE(results[1].file.empty());
    EXPECT_TRUE(results[2].ok);
    EXPECT_EQ(results[2].message, "");
    EXPECT_EQ(results[2].file, "10.0.0.3.json");
}

TEST(ForEachHostTest, HostsRunSideBySideAndComeBackInTheirListOrder) {
    HostOptions options;
    options.jobs = 3;
    const std::vector<HostTarget> addresses = Addresses(7);
    std::mutex mutex;
    std::set<const CliHost*> cores;
    const auto results = ForEachHost(addresses, options, [&](CliHost& host, HostResult& r) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            cores.insert(&host);
        }
        // Earlier hosts take longer, so they end after later ones.
        const int last = std::stoi(r.address.substr(r.address.rfind('.') + 1));
        std::this_thread::sleep_for(std::chrono::milliseconds(10 * (8 - last)));
        r.message = r.address;
    });
    ASSERT_EQ(results.size(), addresses.size());
    for (size_t i = 0; i < addresses.size(); ++i) {
        EXPECT_EQ(results[i].address, addresses[i].address);
        EXPECT_EQ(results[i].message, addresses[i].address);
        EXPECT_TRUE(results[i].ok);
    }
    EXPECT_GE(cores.size(), 2u);
    EXPECT_LE(cores.size(), 3u);
}

// What PrintResults wrote and returned. Both outputs are given back before
// anything is checked, so a failed check cannot leave them captured for the
// tests after it.
struct Printed {
    int status = -1;
    std::string out;
    std::string err;
};

Printed Print(const std::vector<HostResult>& results,
              const std::vector<HostListFile::Skipped>& skipped, bool json) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    Printed printed;
    try {
        printed.status = PrintResults("backup", results, skipped, json);
    } catch (...) {
        printed.status = -2;
    }
    printed.out = ::testing::internal::GetCapturedStdout();
    printed.err = ::testing::internal::GetCapturedStderr();
    return printed;
}

TEST(PrintResultsTest, TheExitStatusAndTheJsonNameEveryHostThatFailed) {
    HostResult good{"10.0.0.1", true, "", "out/10.0.0.1.json", {}, "", {}};
    good.extra["model"] = "TW-16";
    const HostResult bad{"10.0.0.2", false, "主机无应答", "", {}, "", {}};
    const std::vector<HostListFile::Skipped> skipped = {{4, "shop-7", kNotAnAddressText}};

    const Printed printed = Print({good, bad}, skipped, true);
    EXPECT_EQ(printed.status, kExitFailed);
    const auto doc = nlohmann::json::parse(printed.out, nullptr, false);
    ASSERT_FALSE(doc.is_discarded()) << printed.out;
    EXPECT_EQ(doc["command"], "backup");
    EXPECT_EQ(doc["ok"], false);
    ASSERT_EQ(doc["hosts"].size(), 2u);
    EXPECT_EQ(doc["hosts"][0]["ok"], true);
    EXPECT_EQ(doc["hosts"][0]["file"], "out/10.0.0.1.json");
    EXPECT_EQ(doc["hosts"][0]["model"], "TW-16");
    EXPECT_EQ(doc["hosts"][1]["address"], "10.0.0.2");
    EXPECT_EQ(doc["hosts"][1]["ok"], false);
    EXPECT_EQ(doc["hosts"][1]["message"], "主机无应答");
    EXPECT_FALSE(doc["hosts"][1].contains("file"));
    EXPECT_EQ(doc["skippedLines"][0]["line"], 4);
    EXPECT_NE(printed.err.find("10.0.0.2"), std::string::npos) << printed.err;
}

TEST(PrintResultsTest, EveryHostSucceededIsOneLineAHostAndStatusZero) {
    const HostResult good{"10.0.0.1", true, "", "out/10.0.0.1.json", {}, "", {}};
    const Printed printed = Print({good}, {}, false);
    EXPECT_EQ(printed.status, kExitOk);
    EXPECT_EQ(printed.out, "10.0.0.1  成功  → out/10.0.0.1.json\n");
    EXPECT_EQ(printed.err, "");
}

TEST(PrintResultsTest, TextThatIsNotUtf8NeverCostsTheDocument) {
    // A file name and a host list line in another code page.
    const HostResult written{"10.0.0.1", true, "", "out/\xB1\xB8\xB7\xDD.json", {}, "", {}};
    const std::vector<HostListFile::Skipped> skipped = {{2, "\xB1\xB8\xB7\xDD", kNotAnAddressText}};
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(PrintResults("backup", {written}, skipped, true), kExitOk);
    const std::string out = ::testing::internal::GetCapturedStdout();
    ::testing::internal::GetCapturedStderr();
    const auto doc = nlohmann::json::parse(out);
    EXPECT_EQ(doc["hosts"][0]["file"], "out/\uFFFD\uFFFD\uFFFD\uFFFD.json");
    EXPECT_EQ(doc["skippedLines"][0]["text"], "\uFFFD\uFFFD\uFFFD\uFFFD");
    // The site book's export replaces what is not UTF-8 as the documents do.
    for (const std::string bad :
         {"\xB1\xB8", "caf\xE9", "\xE5\xBA", "\xE5\xBAx", "\xE0\x80\xAF", "\xED\xA0\x80",
          "\xF4\x90\x80\x80", "\xC0\xAF", "\xF0\x9F\x98", "\xFF\xFE", "ok \xE5\xBA\x97"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(JsonText(ValidUtf8(bad)), JsonText(bad));
    }
}

TEST(HostOptionsTest, AHostListThatIsNoFileOrTooLargeIsRefusedByName) {
    testing::TempDir dir;
    const std::string big = dir.File("big.txt");
    std::ofstream(big).close();
    std::filesystem::resize_file(big, kMaxHostListBytes + 1);
    const std::string pipe = dir.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    struct Case {
        std::string file;
        std::string named;
    };
    const Case cases[] = {
        {"/dev/zero", "/dev/zero: 不是普通文件"},
        {dir.Path().string(), dir.Path().string() + ": 不是普通文件"},
        // Nobody writes into it: it must not be waited on.
        {pipe, pipe + ": 不是普通文件"},
        {big, big + ": 文件过大"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        HostOptions options;
        options.hostsFile = c.file;
        try {
            ResolveHosts(options);
            ADD_FAILURE() << "taken";
        } catch (const UsageError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.named, 0), 0u) << e.what();
        }
    }
}

TEST(HostOptionsTest, AHostAListOrASiteIsNeededAndNothingElseIsTaken) {
    testing::TempDir dir;
    const auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream(dir.File(name)) << text;
        return dir.File(name);
    };
    // A book of one site, reached at a port of its own.
    const std::string database = dir.File("db.mdb");
    BookedSites(database);
    {
        SqliteDatabase db(database);
        ASSERT_EQ(SiteBook(db).Add({"Shop-7", "10.0.0.7", "6000", ""}), "");
        // Booked before the loopback network's broadcast address was known as one.
        ASSERT_EQ(SiteBook(db).Add({"Loop", "127.255.255.255", "", ""}), "");
    }
    struct Case {
        std::string host;
        std::string file;
        std::string site;
        std::string database;
        std::vector<std::string> hosts;  // "address:port site"; empty: a usage error
    };
    const std::string withSite = write("sites.txt", "10.0.0.1\nshop-7\n10.0.0.7\nshop-8\n");
    const Case cases[] = {
        {"10.0.0.9", "", "", "", {"10.0.0.9:5200 "}},
        {"255.255.255.255", "", "", "", {}},
        {"127.255.255.255", "", "", "", {}},  // the loopback network's broadcast address
        {"10.0.0.256", "", "", "", {}},
        {"", "", "", "", {}},
        {"", dir.File("missing.txt"), "", "", {}},
        {"", write("none.txt", "# nothing yet\nshop-7\n"), "", "", {}},
        {"",
         write("two.txt", "10.0.0.1\nshop-7\n10.0.0.2\n"),
         "",
         "",
         {"10.0.0.1:5200 ", "10.0.0.2:5200 "}},
        // Site names: in a list with the book, or alone with --site.
        {"", withSite, "", database, {"10.0.0.1:5200 ", "10.0.0.7:6000 Shop-7"}},
        {"", "", "SHOP-7", database, {"10.0.0.7:6000 Shop-7"}},
        {"", "", "shop-8", database, {}},
        {"", "", "shop-7", "", {}},
        // A booked address that reaches every host of a local network names no host.
        {"", "", "loop", database, {}},
        {"", write("loop.txt", "loop\n10.0.0.1\n"), "", database, {"10.0.0.1:5200 "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host + c.file + c.site + c.database);
        HostOptions options;
        options.host = c.host;
        options.hostsFile = c.file;
        options.site = c.site;
        options.database = c.database;
        ::testing::internal::CaptureStderr();
        if (c.hosts.empty()) {
            EXPECT_THROW(ResolveHosts(options), UsageError);
        } else {
            const HostTargets targets = ResolveHosts(options);
            std::vector<std::string> hosts;
            for (const HostTarget& t : targets.hosts)
                hosts.push_back(t.address + ":" + std::to_string(t.port) + " " + t.site);
            EXPECT_EQ(hosts, c.hosts);
            EXPECT_EQ(targets.fromFile, !c.file.empty());
        }
        const std::string err = ::testing::internal::GetCapturedStderr();
        if (c.file == withSite) {
            EXPECT_NE(err.find("sites.txt:3: 10.0.0.7: 与第2行重复"), std::string::npos) << err;
            EXPECT_NE(err.find("sites.txt:4: shop-8: 不是IPv4地址，也不是站点簿中的站点"),
                      std::string::npos)
                << err;
        }
    }
}

// Leading zeros are decimal, and the host is reached at the plain form (the
// socket takes no other).
TEST(HostOptionsTest, AHostWithLeadingZerosIsReachedAtItsPlainForm) {
    HostOptions options;
    options.host = "010.231.001.001";
    EXPECT_EQ(ResolveHosts(options).hosts.at(0).address, "10.231.1.1");
}

TEST(HostOptionsTest, TheCodeComesFromTheOptionThenTheEnvironment) {
    ::setenv(kCodeVariable, "246810", 1);
    EXPECT_EQ(InstallerCode("123456"), "123456");
    EXPECT_EQ(InstallerCode(""), "246810");
    ::unsetenv(kCodeVariable);
    // Without a terminal there is nobody to ask.
    if (::isatty(STDIN_FILENO) != 1) {
        EXPECT_THROW(InstallerCode(""), UsageError);
    }
}

}  // namespace
}  // namespace tarnwick::cli
