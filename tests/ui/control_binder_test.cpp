#include "ui/control_binder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWidget>

#include "ui/widget_factory.h"

namespace tarnwick {
namespace {

struct BoundPage {
    BoundPage() {
        model.Edit("edtIP", 15, KeyFilter::Address).text = "10.0.0.1";
        model.Combo("cbNMInfo", {"单网", "多网"});
        model.Button("bbtnRebootNM", "重新启动", "重新启动网管模块");
        model.Button("bbtnSave", "保存", "保存当前配置|保存当前配置!");
        model.Add("rbtnDHCP", ControlKind::RadioButton);
        model.Add("rbtnStaticIP", ControlKind::RadioButton).checked = true;
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
}

}  // namespace
}  // namespace tarnwick
