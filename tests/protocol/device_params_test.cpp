#include <gtest/gtest.h>

#include <thread>

#include "protocol/name_value_list.h"

namespace tarnwick {
namespace {

TEST(DeviceParams, KeepsOneEntryPerNameInFirstPosition) {
    DeviceParams params;
    EXPECT_EQ(params.Get("Never"), "");
    params.Set("NMReboot", "1");
    params.Set("Prog00", "123456");
    params.Set("nmreboot", "0");
    EXPECT_EQ(params.Count(), 2u);
    EXPECT_EQ(params.Get("NMREBOOT"), "0");
    EXPECT_EQ(params.Text(), "NMReboot=0\r\nProg00=123456\r\n");
    params.Set("NMReboot", "");
    EXPECT_EQ(params.Count(), 1u);
    EXPECT_FALSE(params.Has("NMReboot"));
    params.Set("Missing", "");
    EXPECT_EQ(params.Count(), 1u);
}

TEST(DeviceParams, KeepsValuesWithEqualsSignsWhole) {
    DeviceParams params;
    params.Set("UpdateInfo", "a=b=c");
    EXPECT_EQ(params.Get("UpdateInfo"), "a=b=c");
    params.Clear();
    EXPECT_EQ(params.Count(), 0u);
    EXPECT_EQ(params.Text(), "");
}

TEST(DeviceParams, StaysConsistentWhenASecondThreadWrites) {
    DeviceParams params;
    std::thread writer([&] {
        for (int i = 0; i < 2000; ++i) params.Set("Key" + std::to_string(i % 50), "v");
    });
    for (int i = 0; i < 2000; ++i) {
        params.Set("UiKey", std::to_string(i));
        (void)params.Text();
    }
    writer.join();
    EXPECT_EQ(params.Count(), 51u);
    EXPECT_EQ(params.Get("UiKey"), "1999");
}

}  // namespace
}  // namespace tarnwick
