#include "app/interface_locale.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(InterfaceLocale, AChineseSystemLocaleIsKeptAndAnyOtherGivesSimplifiedChinese) {
    const std::pair<const char*, const char*> cases[] = {
        {"zh_TW.UTF-8", "zh_TW"}, {"zh_HK", "zh_HK"},      {"zh_CN.GB18030", "zh_CN"},
        {"en_US.UTF-8", "zh_CN"}, {"de_DE@euro", "zh_CN"}, {"C", "zh_CN"},
        {"zh", "zh_CN"},          {"", "zh_CN"},
    };
    for (const auto& [system, expected] : cases)
        EXPECT_EQ(InterfaceLocale(system), expected) << system;
}

}  // namespace
}  // namespace tarnwick
