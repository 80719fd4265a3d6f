#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "diagnostics/debug_page.h"
#include "support/lone_page.h"
#include "ui/pages/debug_page_widget.h"

namespace tarnwick {
namespace {

TEST(DebugMemo, ShowsTheKeptTailAfterTheNoticeAndStartsAfreshWhenCleared) {
    testing::LonePage<DebugPage> lone;
    testing::CoreFixture& f = lone.f;
    ui::DebugPageWidget widget(lone.page, nullptr);
    TraceMemo& trace = f.tdm->trace;
    trace.SetObserver([&] { widget.ShowTrace(); });
    auto* memo = widget.findChild<QPlainTextEdit*>("memInfo");
    ASSERT_NE(memo, nullptr);

    const size_t total = kTraceMemoMaxLines + 1234;
    for (size_t i = 1; i <= total; ++i) trace.Add("line " + std::to_string(i));

    const QStringList shown = memo->toPlainText().split('\n');
    ASSERT_EQ(static_cast<size_t>(shown.size()), trace.Lines().size() + 1);
    EXPECT_EQ(shown.front().toStdString(), trace.DroppedNotice());
    EXPECT_EQ(shown.at(1).toStdString(), trace.Lines().front());
    EXPECT_EQ(shown.back().toStdString(), "line " + std::to_string(total));

    trace.Clear();
    trace.Add("fresh");
    EXPECT_EQ(memo->toPlainText().toStdString(), "fresh");
}

}  // namespace
}  // namespace tarnwick
