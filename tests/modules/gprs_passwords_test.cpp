#include <gtest/gtest.h>

#include "app/page_table.h"
#include "modules/gprs_decoder.h"
#include "modules/gprs_page.h"
#include "protocol/frame_codec.h"
#include "protocol/hex_text.h"
#include "support/host_window_fixture.h"

namespace tarnwick::testing {
namespace {

// The passwords a write carries go to the module, never into a log row: the
// APN's password (with a byte the frame escapes) and both SMS programming
// passwords, their check bytes masked too.
TEST(GprsPasswords, AreSentButNotLogged) {
    HostWindowFixture w;
    auto& page = dynamic_cast<GprsPage&>(StandardPage(w.window, PageId::Gprs));
    const std::pair<const char*, const char*> typed[] = {{"edtGprsAPN1", "CMWAP"},
                                                         {"edtPassword", "pw~8524"},
                                                         {"edtOldPassword", "6081"},
                                                         {"edtNewPassword", "7305"}};
    for (const auto& [name, text] : typed) page.Controls()[name].text = text;
    const CommandList writes = page.SaveList(DeviceParams());
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].pair, kGprsSetNetworkPair);
    EXPECT_EQ(writes[1].pair, kGprsSetSmsPasswordPair);
    EXPECT_NE(UnescapeFrame(writes[0].frame).find(TextToHex("pw~8524")), std::string::npos);
    EXPECT_EQ(writes[0].Logged(), "7E**82010189" + TextToHexField("CMWAP", 15) +
                                      std::string(30, '0') + std::string(36, '*') + "**7E");
    EXPECT_EQ(writes[1].Logged(), "7E**820101D6" + std::string(24, '*') + "**7E");
}

}  // namespace
}  // namespace tarnwick::testing
