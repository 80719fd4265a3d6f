#include "hosts/login.h"

#include <gtest/gtest.h>

#include "app/page_table.h"
#include "hosts/host_list_model.h"
#include "hosts/host_window.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "support/host_window_fixture.h"
#include "support/search_answer.h"

namespace tarnwick {
namespace {

// A host that answers the section 00 read with `installer` as its code.
std::vector<std::string> Section00(const std::string& installer) {
    return {testing::HostDatagram("11", "01", "019900" + installer + std::string(24, '0'))};
}

// The host window before any host is opened, and a host list of one host.
struct LoginFixture : testing::HostWindowFixture {
    LoginFixture() {
        f.tdm->session.SetCurrentHost("");
        list.AddSearchAnswer(UnescapeFrame(testing::SearchAnswer(testing::kFixtureHost)));
        dialog.show = [this](LoginDialog& d) {
            ++shown;
            if (!typed.empty()) d.password = typed;
            return accept;
        };
    }
    void Open(int row = 1) {
        OpenHost(*f.tdm, list, row, window, dialog, [this] { ++opened; });
    }
    HostListModel list;
    LoginDialog dialog;
    std::string typed;
    bool accept = true;
    int shown = 0, opened = 0;
};

TEST(Login, RightPasswordOpensTheHostWindowWithTheAddressShown) {
    LoginFixture l;
    l.f.client().responder = [](const std::string& payload) {
        return payload ==
                       "7E39820111810800"
                       "1B7E"
                   ? Section00("246810")
                   : std::vector<std::string>{};
    };
    l.Open();
    EXPECT_EQ(l.f.tdm->session.CurrentHost(), "10.77.0.11");
    EXPECT_EQ(StandardPage(l.window, PageId::Debug).Controls()["edtIP"].text, "10.77.0.11");
    EXPECT_EQ(l.f.client().sent.at(0).host, "10.77.0.11");
    EXPECT_EQ(l.shown, 1);
    EXPECT_EQ(l.dialog.hostText, "登录主机 10.77.0.11");  // the host the password is for
    EXPECT_EQ(l.opened, 1);
    EXPECT_EQ(l.window.frame["lblHost"].text, "IP地址:10.77.0.11:5200");
    EXPECT_EQ(LoginHostText({"10.231.1.1", 5300, "仓库"}), "登录主机 10.231.1.1:5300");
    EXPECT_TRUE(l.f.op.boxes.empty());
}

TEST(Login, ComparisonIsExactAndTheDialogKeepsWhatWasTyped) {
    LoginFixture l;
    l.f.client().responder = [](const std::string&) { return Section00("123456"); };
    l.typed = "123456 ";
    l.Open();
    EXPECT_EQ(l.opened, 0);
    ASSERT_EQ(l.f.op.boxes.size(), 1u);
    EXPECT_EQ(l.f.op.boxes[0].kind, "error");
    EXPECT_EQ(l.f.op.boxes[0].text, "\r    密码有误，无法登录！    ");
    EXPECT_EQ(l.dialog.password, "123456 ");

    l.accept = false;
    l.typed.clear();
    l.Open();
    EXPECT_EQ(l.opened, 0);
    EXPECT_EQ(l.f.op.boxes.size(), 1u);  // a cancelled dialog shows nothing
}

TEST(Login, AHostThatDoesNotAnswerTheReadCannotBeManaged) {
    LoginFixture l;
    l.f.tdm->params.Set("Prog00_Installer", "stale");
    l.Open();
    EXPECT_EQ(l.shown, 0);
    ASSERT_EQ(l.f.op.boxes.size(), 1u);
    EXPECT_EQ(l.f.op.boxes[0].kind, "information");
    EXPECT_EQ(l.f.op.boxes[0].text, "无法管理到10.77.0.11设备，请检查网络配置!");
}

TEST(Login, AnEmptyRowTakesTheHostFromTheDebugAddressAndShowsNothing) {
    LoginFixture l;
    StandardPage(l.window, PageId::Debug).Controls()["edtIP"].text = "10.77.0.99";
    l.Open(2);
    EXPECT_EQ(l.f.tdm->session.CurrentHost(), "10.77.0.99");
    EXPECT_TRUE(l.f.client().sent.empty());
    EXPECT_TRUE(l.f.op.boxes.empty());
    EXPECT_EQ(l.shown, 0);
}

}  // namespace
}  // namespace tarnwick
