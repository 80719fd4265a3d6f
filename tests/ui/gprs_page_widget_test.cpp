#include "ui/pages/gprs_page_widget.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <memory>

#include "hosts/host_window.h"
#include "modules/gprs_page.h"
#include "support/core_fixture.h"

namespace tarnwick {
namespace {

struct GprsWidgetFixture {
    GprsWidgetFixture() : widget(ui::BuildGprsPageWidget(page, nullptr)) {}
    template <typename W>
    W* Find(const char* name) {
        return widget->findChild<W*>(name);
    }
    testing::CoreFixture f;
    HostWindow window{*f.tdm};
    GprsPage page{window};
    std::unique_ptr<QWidget> widget;
};

TEST(GprsPageWidget, EveryInputHasItsWidgetAndCaptionedInputsHaveTheirLabel) {
    GprsWidgetFixture w;
    std::map<QWidget*, QString> buddies;
    for (QLabel* label : w.widget->findChildren<QLabel*>())
        if (label->buddy()) buddies[label->buddy()] = label->text();
    for (const auto& control : w.page.Controls().Controls()) {
        auto* input = w.Find<QWidget>(control->name.c_str());
        ASSERT_NE(input, nullptr) << control->name;
        if (control->kind == ControlKind::Button || control->kind == ControlKind::CheckBox)
            continue;
        // The status lists and the ports stand beside another input's label.
        const std::string& name = control->name;
        const bool besideAnother = name.rfind("cbAlarm", 0) == 0 || name == "cbSMSPhoneStatus" ||
                                   name.rfind("edtGprsPort", 0) == 0;
        if (!besideAnother) EXPECT_EQ(buddies[input].toStdString(), w.page.CaptionOf(name)) << name;
    }
    EXPECT_EQ(w.Find<QLineEdit>("edtPassword")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(w.Find<QLineEdit>("edtGprsIP1")->maxLength(), 15);
}

TEST(GprsPageWidget, TabOrderFollowsReadingOrder) {
    GprsWidgetFixture w;
    const char* expected[] = {"edtGprsDeviceID",    "edtGprsHeartbeatInterval",
                              "edtGprsDomainName1", "edtGprsIP1",
                              "edtGprsPort1",       "edtGprsDomainName2"};
    QWidget* at = w.Find<QWidget>(expected[0]);
    for (size_t i = 1; i < std::size(expected); ++i) {
        at = at->nextInFocusChain();
        while (at->focusPolicy() == Qt::NoFocus) at = at->nextInFocusChain();
        EXPECT_EQ(at->objectName().toStdString(), expected[i]);
    }
}

TEST(GprsPageWidget, TypedServerLinesReachTheModel) {
    GprsWidgetFixture w;
    w.Find<QPlainTextEdit>("memGprsDomainRPIP")->setPlainText("10.0.0.1\n\n10.0.0.2\n");
    EXPECT_EQ(w.page.Controls()["memGprsDomainRPIP"].lines,
              (std::vector<std::string>{"10.0.0.1", "", "10.0.0.2"}));
    EXPECT_EQ(w.page.JoinDnsServerList(), "10.0.0.1:10.0.0.2:");
}

}  // namespace
}  // namespace tarnwick
