#include "ui/control_binder.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWidget>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/recording_operator.h"
#include "ui/widget_factory.h"

namespace tarnwick {
namespace {

struct BoundPage {
    BoundPage() {
        Control& ip = model.Edit("edtIP", 15, KeyFilter::Address);
        ip.text = "10.0.0.1";
        ip.caption = "本地IP地址：";
        model.Combo("cbNMInfo", {"单网", "多网"}).caption = "网络管理 方式";
        model.Button("bbtnRebootNM", "重新启动", "重新启动网管模块");
        model.Button("bbtnSave", "保存", "保存当前配置|保存当前配置!");
        model.Add("rbtnDHCP", ControlKind::RadioButton).caption = "自动获取IP地址";
        Control& fixed = model.Add("rbtnStaticIP", ControlKind::RadioButton);
        fixed.caption = "使用下面的IP地址";
        fixed.checked = true;
        auto* layout = new QVBoxLayout(&root);
        for (QWidget* w : {static_cast<QWidget*>(ui::MakeEdit(&root, "edtIP")),
                           static_cast<QWidget*>(ui::MakeCombo(&root, "cbNMInfo")),
                           static_cast<QWidget*>(ui::MakeButton(&root, "bbtnRebootNM")),
                           static_cast<QWidget*>(ui::MakeButton(&root, "bbtnSave")),
                           static_cast<QWidget*>(ui::MakeRadio(&root, "rbtnDHCP")),
                           static_cast<QWidget*>(ui::MakeRadio(&root, "rbtnStaticIP"))})
            layout->addWidget(w);
        binder = new ui::ControlBinder(model, &root);
    }
    template <typename W>
    W* Widget(const char* name) {
        return root.findChild<W*>(name);
    }
    PageModel model;
    QWidget root;
    ui::ControlBinder* binder = nullptr;
};

TEST(ControlBinder, ShowsTheModelAndTakesWhatTheOperatorDoes) {
    BoundPage p;
    auto* edit = p.Widget<QLineEdit>("edtIP");
    EXPECT_EQ(edit->text(), QStringLiteral("10.0.0.1"));
    EXPECT_EQ(edit->maxLength(), 15);
    EXPECT_EQ(p.Widget<QComboBox>("cbNMInfo")->count(), 2);
    EXPECT_EQ(p.Widget<QComboBox>("cbNMInfo")->currentIndex(), -1);
    EXPECT_EQ(p.Widget<QPushButton>("bbtnRebootNM")->toolTip(), QStringLiteral("重新启动网管模块"));
    EXPECT_EQ(p.Widget<QPushButton>("bbtnRebootNM")->statusTip(),
              QStringLiteral("重新启动网管模块"));
    // A two-part hint: the short part as tooltip, the long one in the status bar.
    EXPECT_EQ(p.Widget<QPushButton>("bbtnSave")->toolTip(), QStringLiteral("保存当前配置"));
    EXPECT_EQ(p.Widget<QPushButton>("bbtnSave")->statusTip(), QStringLiteral("保存当前配置!"));

    int changes = 0;
    p.model.OnChange("edtIP", [&] { ++changes; });
    edit->setFocus();
    edit->selectAll();
    edit->insert("10.0.0.x");  // the address filter refuses the letter
    EXPECT_EQ(p.model["edtIP"].text, "10.0.0.1");
    edit->selectAll();
    edit->insert("10.0.0.2");
    EXPECT_EQ(p.model["edtIP"].text, "10.0.0.2");
    EXPECT_EQ(changes, 1);

    emit p.Widget<QComboBox>("cbNMInfo")->activated(1);
    EXPECT_EQ(p.model["cbNMInfo"].index, 1);

    p.Widget<QRadioButton>("rbtnDHCP")->click();
    EXPECT_TRUE(p.model["rbtnDHCP"].checked);
    EXPECT_FALSE(p.model["rbtnStaticIP"].checked);
}

TEST(ControlBinder, ClicksReachTheHandlersAndModelChangesReachTheWidgets) {
    BoundPage p;
    int clicks = 0;
    p.model.OnClick("bbtnRebootNM", [&] {
        ++clicks;
        p.model["edtIP"].text = "10.0.0.9";
        p.model["edtIP"].enabled = false;
    });
    p.Widget<QPushButton>("bbtnRebootNM")->click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(p.Widget<QLineEdit>("edtIP")->text(), QStringLiteral("10.0.0.9"));
    EXPECT_FALSE(p.Widget<QLineEdit>("edtIP")->isEnabled());
    EXPECT_THROW(p.model["edtNoSuchControl"], std::logic_error);

    // The model may clear a pair of radio buttons: the screen shows it, and
    // the buttons stay radio buttons.
    p.model["rbtnStaticIP"].checked = false;
    p.binder->Sync();
    for (const char* name : {"rbtnDHCP", "rbtnStaticIP"}) {
        EXPECT_FALSE(p.Widget<QRadioButton>(name)->isChecked()) << name;
        EXPECT_TRUE(p.Widget<QRadioButton>(name)->autoExclusive()) << name;
    }
}

TEST(ControlBinder, ListsAreReadOutByTheirCaptionWithTheEntryAsTheirValue) {
    BoundPage p;
    p.model["cbNMInfo"].index = 1;
    p.binder->Sync();
    QAccessibleInterface* list =
        QAccessible::queryAccessibleInterface(p.Widget<QComboBox>("cbNMInfo"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::ComboBox);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("网络管理 方式"));
    EXPECT_EQ(list->text(QAccessible::Value), QStringLiteral("多网"));
    ASSERT_NE(list->textInterface(), nullptr);
    EXPECT_EQ(list->textInterface()->text(0, -1), QStringLiteral("多网"));
    EXPECT_EQ(p.Widget<QLineEdit>("edtIP")->accessibleName(), QStringLiteral("本地IP地址"));
}

// Collects what binders report while it lives.
struct BinderReports {
    BinderReports() {
        ui::ControlBinder::SetReport([this](const std::string& text) { lines.push_back(text); });
    }
    ~BinderReports() { ui::ControlBinder::SetReport(nullptr); }
    std::vector<std::string> lines;
};

TEST(ControlBinder, NamesThatDoNotMeetAreReportedAndWidgetsOfOtherBindersAreLeftAlone) {
    BinderReports reports;
    PageModel model;
    model.Edit("edtHeartbeat");
    model.Button("btnSave", "保存");
    model.Label("lblNote");  // labels are not inputs, but a control still needs its widget
    model.Check("chkSpare", "备用").visible = false;  // never shown: needs no widget
    QWidget root;
    root.setObjectName("tsNM");
    ui::MakeEdit(&root, "edtHeartBeat");  // misspelt
    ui::MakeButton(&root, "btnSave");
    ui::MakeLabel(&root, "lblOther");  // a named label is no input
    // A nested page with its own binder keeps its inputs to itself.
    auto* inner = new QWidget(&root);
    PageModel innerModel;
    innerModel.Edit("edtInner").caption = "内部";
    ui::MakeEdit(inner, "edtInner");
    new ui::ControlBinder(innerModel, inner);
    EXPECT_TRUE(reports.lines.empty());

    ui::ControlBinder binder(model, &root);
    EXPECT_EQ(reports.lines, (std::vector<std::string>{"tsNM: control edtHeartbeat has no widget",
                                                       "tsNM: control lblNote has no widget",
                                                       "tsNM: widget edtHeartBeat has no control",
                                                       "tsNM: edtHeartbeat has no caption"}));
}

// The operator reads Chinese only: a handler's error shows a box of the
// program's own words, and the error's text goes to the trace.
TEST(ControlBinder, AHandlerErrorShowsAChineseBoxTracesItsTextAndTheWidgetsFollowTheModel) {
    BoundPage p;
    testing::RecordingOperator op;
    std::vector<std::string> traced;
    ui::ControlBinder::SetOperator(&op);
    ui::ControlBinder::SetErrorTrace([&](const std::string& line) { traced.push_back(line); });
    p.model.OnClick("bbtnRebootNM", [&] {
        p.model["edtIP"].text = "10.0.0.7";
        throw std::runtime_error("'A' is not a valid integer value");
    });
    p.Widget<QPushButton>("bbtnRebootNM")->click();
    ui::ControlBinder::SetOperator(nullptr);
    ui::ControlBinder::SetErrorTrace(nullptr);
    ASSERT_EQ(op.boxes.size(), 1u);
    EXPECT_EQ(op.boxes[0].kind, "error");
    EXPECT_EQ(op.boxes[0].text.find("valid"), std::string::npos) << op.boxes[0].text;
    EXPECT_NE(op.boxes[0].text.find("操作未能完成"), std::string::npos) << op.boxes[0].text;
    ASSERT_EQ(traced.size(), 1u);
    EXPECT_NE(traced[0].find("'A' is not a valid integer value"), std::string::npos);
    EXPECT_EQ(p.Widget<QLineEdit>("edtIP")->text(), QStringLiteral("10.0.0.7"));
}

TEST(ControlBinder, ALabelWithoutColourKeepsTheDefaultAndBlackIsAColour) {
    PageModel model;
    model.Label("lblPlain");
    model.Label("lblBlack").color = 0x000000;
    model.Label("lblWhite").color = 0xFFFFFF;
    QWidget root;
    for (const char* name : {"lblPlain", "lblBlack", "lblWhite"}) ui::MakeLabel(&root, name);
    ui::ControlBinder binder(model, &root);
    EXPECT_EQ(root.findChild<QLabel*>("lblPlain")->styleSheet(), QString());
    EXPECT_EQ(root.findChild<QLabel*>("lblBlack")->styleSheet(), QStringLiteral("color: #000000;"));
    EXPECT_EQ(root.findChild<QLabel*>("lblWhite")->styleSheet(), QStringLiteral("color: #ffffff;"));
    model["lblBlack"].color.reset();
    binder.Sync();
    EXPECT_EQ(root.findChild<QLabel*>("lblBlack")->styleSheet(), QString());
}

}  // namespace
}  // namespace tarnwick
