#include "hosts/connect_address.h"

#include <gtest/gtest.h>

#include "hosts/host_search.h"
#include "hosts/login.h"
#include "protocol/frame_codec.h"
#include "storage/site_book.h"
#include "support/host_window_fixture.h"
#include "support/search_answer.h"

namespace tarnwick {
namespace {

constexpr const char* kSearchFrame = "7EB7820102D75A7E";
constexpr const char* kSection00Read = "7E398201118108001B7E";

// The host list, the dialogs and a host behind a router at 10.88.0.5 that
// answers the section 00 read but not the search.
struct ConnectFixture : testing::HostWindowFixture {
    ConnectFixture() {
        f.op.sleepInPauses = true;
        f.tdm->session.SetCurrentHost("");
        f.client().responder = [this](const std::string& payload) {
            return payload == kSection00Read && reachable
                       ? std::vector<std::string>{testing::HostDatagram(
                             "11", "01", "019900246810" + std::string(24, '0'))}
                       : std::vector<std::string>{};
        };
        login.show = [this](LoginDialog&) { return ++passwordShown, true; };
    }
    // Opens the dialog and types each entry of `typed` in turn (address,
    // port, site); the dialog is cancelled once they are used up.
    void Connect(std::vector<std::array<std::string, 3>> typed) {
        dialog.show = [this, typed, n = size_t{0}](ConnectAddressDialog& d) mutable {
            shownTexts.push_back(d.controls["edtConnectIP"].text);
            if (n == typed.size()) return false;
            d.controls["edtConnectIP"].text = typed[n][0];
            d.controls["edtConnectPort"].text = typed[n][1];
            d.controls["edtConnectSite"].text = typed[n][2];
            ++n;
            return true;
        };
        ConnectToAddress(*f.tdm, list, dialog, window, login, [this] { ++opened; });
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> texts;
        for (const auto& box : f.op.boxes) texts.push_back(box.text);
        return texts;
    }

    HostListWindowModel list;
    ConnectAddressDialog dialog;
    LoginDialog login;
    bool reachable = true;
    std::vector<std::string> shownTexts;
    int passwordShown = 0;
    int opened = 0;
};

TEST(ConnectAddress, WrongFieldsAreNamedTheDialogComesBackAndNothingIsSent) {
    ConnectFixture c;
    ASSERT_EQ(SiteBook(*c.f.db).Add({"城东门店", "10.77.0.12", "", ""}), "");
    c.Connect({{"10.88.0.256", "5200", ""},
               {"10.88.255.255x", "5200", ""},
               // The loopback network's broadcast address: every host on it.
               {"127.255.255.255", "5200", ""},
               {"10.88.0.5", "0", ""},
               {"10.88.0.5", "65536", ""},
               {"10.88.0.5", "5200", "店#5"},
               {"10.88.0.5", "5200", "城东门店"},
               {"10.77.0.12", "5200", "新店"}});
    EXPECT_EQ(c.Boxes(), (std::vector<std::string>{
                             "IP地址“10.88.0.256”不是IPv4地址。",
                             "IP地址“10.88.255.255x”不是IPv4地址。",
                             "IP地址“127.255.255.255”" + std::string(kNotOneHostText) + "。",
                             "端口“0”不是1到65535之间的数。",
                             "端口“65536”不是1到65535之间的数。",
                             "站点名称“店#5”不能含有“#”。",
                             "站点名称“城东门店”已存在。",
                             "IP地址 10.77.0.12 已属于站点“城东门店”。",
                         }));
    // Shown again each time with the text last typed.
    ASSERT_EQ(c.shownTexts.size(), 9u);
    EXPECT_EQ(c.shownTexts.back(), "10.77.0.12");
    EXPECT_TRUE(c.f.client().sent.empty());
    EXPECT_EQ(SiteBook(*c.f.db).List().size(), 1u);
}

TEST(ConnectAddress, AHostThatIgnoresTheSearchIsLoggedInAtItsAddressAndBooked) {
    ConnectFixture c;
    c.Connect({{" 010.88.0.5 ", "5300", "城西仓库"}});
    const auto& sent = c.f.client().sent;
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].host, "10.88.0.5");
    EXPECT_EQ(sent[0].port, 5300);
    EXPECT_EQ(sent[0].payload, kSearchFrame);
    EXPECT_EQ(sent[1].host, "10.88.0.5");
    EXPECT_EQ(sent[1].port, 5300);
    EXPECT_EQ(sent[1].payload, kSection00Read);
    EXPECT_EQ(c.passwordShown, 1);
    EXPECT_EQ(c.opened, 1);
    EXPECT_EQ(c.window.frame["lblHost"].text, "IP地址:10.88.0.5:5300");
    EXPECT_TRUE(c.Boxes().empty());
    // It waited a second for an answer that did not come, then went on.
    EXPECT_FALSE(c.f.tdm->listener.IsOpen());
    EXPECT_FALSE(c.list.waiting.visible);
    EXPECT_TRUE(c.list.listEnabled && c.list.bottomEnabled && c.list.keysAttached);

    const std::optional<Site> site = SiteBook(*c.f.db).Find("城西仓库");
    ASSERT_TRUE(site);
    EXPECT_EQ(site->address, "10.88.0.5");
    EXPECT_EQ(site->port, 5300);
    EXPECT_EQ(site->lastSeen, c.f.clock.now);
    // The list shows it at once, greyed: the search did not reach it.
    const int row = c.list.list.RowOf("10.88.0.5");
    ASSERT_GT(row, 0);
    EXPECT_TRUE(c.list.list.IsAbsent(row));
    EXPECT_EQ(c.list.list.Field(row, HostListModel::kSiteColumn), "城西仓库");
}

TEST(ConnectAddress, AnAnswerToTheSearchIsListedAndTaughtToTheBook) {
    ConnectFixture c;
    int served = 0;
    c.f.op.onServe = [&] {
        if (++served == 2) {
            testing::SearchAnswerFields answer;
            answer.ip = "10.88.0.5";
            answer.deviceId = "100123";
            answer.hostType = "三十二防区总线报警主机";
            c.f.SendToListener(testing::SearchAnswer(answer));
        }
    };
    c.Connect({{"10.88.0.5", "", "城西仓库"}});
    EXPECT_EQ(c.opened, 1);
    // The answer ended the wait early.
    EXPECT_LT(c.f.op.pauses.size(),
              static_cast<size_t>(kConnectAnswerWaitMs / kConnectAnswerStepMs));
    const int row = c.list.list.RowOf("10.88.0.5");
    ASSERT_EQ(row, 1);
    EXPECT_FALSE(c.list.list.IsAbsent(row));
    EXPECT_EQ(c.list.list.Field(row, 3), "100123");
    EXPECT_EQ(c.list.list.Field(row, HostListModel::kSiteColumn), "城西仓库");
    const std::optional<Site> site = SiteBook(*c.f.db).Find("城西仓库");
    ASSERT_TRUE(site);
    EXPECT_EQ(site->port, kHostPort);
    EXPECT_EQ(site->deviceId, "100123");
    EXPECT_EQ(site->hostType, "三十二防区总线报警主机");
}

TEST(ConnectAddress, AHostThatNeverAnswersCannotBeManagedAndIsNotBooked) {
    ConnectFixture c;
    c.reachable = false;
    c.Connect({{"10.88.0.5", "5200", "城西仓库"}});
    EXPECT_EQ(c.Boxes(), std::vector<std::string>{UnreachedText("10.88.0.5")});
    EXPECT_EQ(c.Boxes()[0], "无法管理到10.88.0.5设备，请检查网络配置!");
    EXPECT_EQ(c.passwordShown, 0);
    EXPECT_EQ(c.opened, 0);
    EXPECT_EQ(c.f.client().sent.size(), 2u);
    EXPECT_TRUE(SiteBook(*c.f.db).List().empty());
}

}  // namespace
}  // namespace tarnwick
