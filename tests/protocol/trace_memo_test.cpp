#include "protocol/trace_memo.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(TraceMemo, KeepsABoundedTailAndSaysHowMuchWent) {
    TraceMemo memo;
    int notified = 0;
    memo.SetObserver([&] { ++notified; });
    const size_t total = 3 * kTraceMemoMaxLines + 123;
    for (size_t i = 1; i <= total; ++i) {
        memo.Add("line " + std::to_string(i));
        ASSERT_LE(memo.Lines().size(), kTraceMemoMaxLines);
    }
    EXPECT_EQ(notified, static_cast<int>(total));
    EXPECT_EQ(memo.Added(), total);
    EXPECT_EQ(memo.Dropped() + memo.Lines().size(), total);
    EXPECT_GE(memo.Lines().size(), kTraceMemoMaxLines - kTraceMemoDropChunk);
    EXPECT_EQ(memo.Lines().back(), "line " + std::to_string(total));
    EXPECT_EQ(memo.Lines().front(), "line " + std::to_string(memo.Dropped() + 1));
    const std::string notice = "（较早的 " + std::to_string(memo.Dropped()) + " 行调试信息已丢弃";
    EXPECT_EQ(memo.Text().rfind(notice, 0), 0u) << memo.Text().substr(0, 80);

    memo.Clear();
    EXPECT_EQ(memo.Added(), 0u);
    memo.Add("");
    memo.Add("b");
    EXPECT_EQ(memo.Text(), "\r\nb");
}

}  // namespace
}  // namespace tarnwick
