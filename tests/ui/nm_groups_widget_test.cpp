#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/standard_pages.h"
#include "hosts/host_window.h"
#include "support/core_fixture.h"
#include "ui/form_modify_ip.h"
#include "ui/pages/host_control_page_widget.h"

namespace tarnwick {
namespace {

// Every input below `root` but the ports and the switch list has its
// caption label beside it as buddy.
void ExpectLabelled(QWidget* root) {
    QList<QWidget*> inputs;
    for (auto* w : root->findChildren<QLineEdit*>()) inputs << w;
    for (auto* w : root->findChildren<QComboBox*>()) inputs << w;
    for (auto* w : root->findChildren<QListWidget*>()) inputs << w;
    ASSERT_FALSE(inputs.empty());
    QSet<QWidget*> buddies;
    for (auto* label : root->findChildren<QLabel*>())
        if (label->buddy()) buddies.insert(label->buddy());
    for (QWidget* w : inputs) {
        const bool portEdit = w->objectName().startsWith("edtNMPort");
        const bool list = qobject_cast<QListWidget*>(w) != nullptr;
        if (!portEdit && !list) EXPECT_TRUE(buddies.contains(w)) << w->objectName().toStdString();
    }
}

struct PageFixture {
    PageFixture() {
        AssembleStandardPages(window);
        widget.reset(ui::BuildHostControlPage(window.Page(0), window, nullptr));
    }
    template <typename W>
    W* Find(const char* name) {
        W* w = widget->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    testing::CoreFixture f;
    HostWindow window{*f.tdm};
    std::unique_ptr<QWidget> widget;
};

TEST(NmGroupsWidget, ShowsTheLoadedModuleAndTakesTheOperatorsChoices) {
    PageFixture p;
    DeviceParams& s = p.f.tdm->params;
    s.Set("NMDeviceID", "100101");
    s.Set("NMNetMode", "01");
    s.Set("NMNetSwitch", "05");
    s.Set("NMLocalDHCP", "01");
    s.Set("NMLocalIP", "10.231.1.1");
    PageBranch& page = p.window.Page(0);
    page.Prepare();
    page.Load(s);
    page.Controls().Changed();

    EXPECT_EQ(p.Find<QLineEdit>("edtNMDeviceID")->text(), "100101");
    EXPECT_EQ(p.Find<QLineEdit>("edtUpdateAddr")->text(), "192.168.1.100");
    auto* mode = p.Find<QComboBox>("cbNMInfo");
    EXPECT_EQ(mode->currentText(), QString::fromUtf8("多网"));
    auto* switches = p.Find<QListWidget>("chklbNMInfo");
    ASSERT_EQ(switches->count(), 3);
    EXPECT_EQ(switches->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(switches->item(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(switches->item(2)->checkState(), Qt::Checked);
    EXPECT_TRUE(p.Find<QRadioButton>("rbtnStaticIP")->isChecked());
    EXPECT_TRUE(p.Find<QLineEdit>("edtLocalIP")->isEnabled());

    // DHCP chosen on screen: the other button clears, the local edits close.
    p.Find<QRadioButton>("rbtnDHCP")->click();
    EXPECT_TRUE(page.Controls()["rbtnDHCP"].checked);
    EXPECT_FALSE(p.Find<QRadioButton>("rbtnStaticIP")->isChecked());
    EXPECT_FALSE(p.Find<QLineEdit>("edtLocalIP")->isEnabled());
    // Ticking the GPRS/GSM item reaches the model.
    switches->item(1)->setCheckState(Qt::Checked);
    EXPECT_TRUE(page.Controls()["chklbNMInfo"].itemChecked[1]);

    // A clear unchecks both radio buttons on screen too.
    page.Prepare();
    page.Load(DeviceParams{});
    page.Controls().Changed();
    EXPECT_FALSE(p.Find<QRadioButton>("rbtnDHCP")->isChecked());
    EXPECT_FALSE(p.Find<QRadioButton>("rbtnStaticIP")->isChecked());
    EXPECT_EQ(mode->currentIndex(), -1);

    ExpectLabelled(p.Find<QGroupBox>("gbNMInfo"));
    ExpectLabelled(p.Find<QGroupBox>("GroupBox5"));
}

TEST(ModifyIpForm, ShowsTheRowAndHandsBackWhatWasTyped) {
    testing::RecordingOperator op;
    ModifyIpDialog dialog(op);
    ui::TFormModifyIP form(dialog);
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("网络配置"));
    ExpectLabelled(&form);
    auto* oldIp = form.findChild<QLineEdit*>("edtOldIP");
    ASSERT_NE(oldIp, nullptr);
    EXPECT_TRUE(oldIp->isReadOnly());
    EXPECT_EQ(form.findChild<QPushButton*>("bbtnModify")->text(), QString::fromUtf8("确定"));

    dialog.controls["edtOldIP"].text = "10.77.0.11";
    QTimer::singleShot(0, &form, [&form] {
        auto* edit = form.findChild<QLineEdit*>("edtNewIP");
        edit->setText("");
        edit->insert("10.77.0.50");  // as typed
        form.findChild<QPushButton*>("bbtnModify")->click();
    });
    EXPECT_TRUE(form.Run());
    EXPECT_EQ(oldIp->text(), "10.77.0.11");
    EXPECT_EQ(dialog.controls["edtNewIP"].text, "10.77.0.50");

    QTimer::singleShot(0, &form, [&form] { form.findChild<QPushButton*>("bbtnCancel")->click(); });
    EXPECT_FALSE(form.Run());
}

}  // namespace
}  // namespace tarnwick
