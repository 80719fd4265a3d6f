#include "programming/value_lists.h"

#include <gtest/gtest.h>

#include "programming/communication_page.h"
#include "programming/wired_zone_page.h"
#include "programming/wireless_zone_page.h"
#include "support/lone_page.h"

namespace tarnwick {
namespace {

TEST(ValueLists, ExtendingCompletesTheElevenListsToAHundredEntriesOnce) {
    testing::LonePage<CommunicationPage> communicationPage;
    CommunicationPage& communication = communicationPage.page;
    testing::LonePage<WiredZonePage> wiredPage;
    WiredZonePage& wired = wiredPage.page;
    testing::LonePage<WirelessZonePage> wirelessPage;
    WirelessZonePage& wireless = wirelessPage.page;
    for (PageModel* page : {&communication.Controls(), &wired.Controls(), &wireless.Controls()}) {
        ExtendValueLists(*page);
        ExtendValueLists(*page);
    }
    struct Expect {
        PageModel& page;
        const char* list;
        const char* entry9;
        const char* entry10;
        const char* entry99;
    };
    const Expect lists[] = {
        {wired.Controls(), "cbWireCrossTime", "09*3秒", "10*3秒", "99*3秒"},
        {wireless.Controls(), "cbWirelessCrossTime", "09*3秒", "10*3秒", "99*3秒"},
        {communication.Controls(), "cbArmingDelayTime", "09*3秒", "10*3秒", "99*3秒"},
        {communication.Controls(), "cbWarnInDelayTime", "09*3秒", "10*3秒", "99*3秒"},
        {communication.Controls(), "cbWarnOutputTime", "09 - 9分钟", "10 - 10分钟", "99 - 99分钟"},
        {communication.Controls(), "cbWarnBuzzerTime", "09 - 9分钟", "10 - 10分钟", "99 - 99分钟"},
        {communication.Controls(), "cbRelayOutputTime", "09 - 9分钟", "10 - 10分钟", "99 - 99分钟"},
        {communication.Controls(), "cbProgOutputTime", "09 - 9分钟", "10 - 10分钟", "99 - 99分钟"},
        {communication.Controls(), "cbNeighborDileInterval", "09 - 9分钟", "10 - 10分钟",
         "99 - 99分钟"},
        {communication.Controls(), "cbTestReportInterval", "09 - 9小时", "10 - 10小时",
         "99 - 99小时"},
        {communication.Controls(), "cbRepeatInterval", "09", "10", "99"},
    };
    for (const Expect& e : lists) {
        const std::vector<std::string>& items = e.page[e.list].items;
        ASSERT_EQ(items.size(), 100u) << e.list;
        EXPECT_EQ(items[9], e.entry9) << e.list;
        EXPECT_EQ(items[10], e.entry10) << e.list;
        EXPECT_EQ(items[99], e.entry99) << e.list;
    }
    EXPECT_EQ(communication.Controls()["cbWarnBuzzerTime"].items[0],
              "00 - 报警时关闭键盘蜂鸣器输出");
    EXPECT_EQ(communication.Controls()["cbRepeatInterval"].items[0], "00 - 系统关闭通信失败重拨");
    EXPECT_EQ(communication.Controls()["cbRepeatTimes"].items[0], "00 - 系统关闭通讯失败重拨");
    // Lists outside the eleven keep their length.
    EXPECT_EQ(communication.Controls()["cbDileNum"].items.size(), 16u);
    EXPECT_EQ(communication.Controls()["cbRingNum"].items[3], "00 - 关闭远程设置");
    EXPECT_EQ(communication.Controls()["cbRingNum"].items[4], "04");
}

}  // namespace
}  // namespace tarnwick
