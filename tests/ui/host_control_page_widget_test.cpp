#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "app/page_table.h"
#include "hosts/host_window.h"
#include "operation/host_status.h"
#include "support/host_window_fixture.h"
#include "ui/form_main.h"
#include "ui/pictures.h"

namespace tarnwick {
namespace {

struct PageFixture : testing::HostWindowFixture {
    PageFixture() {
        AutoRefresh(true);
        form = std::make_unique<ui::TFormMain>(window);
        form->resize(1280, 800);
    }
    PageModel& Page() { return window.Page(0).Controls(); }
    // The status keys as a status reply stores them, shown on the page.
    void Status(const std::string& system, const std::string& mode, const std::string& zones,
                const std::string& bypass, const std::string& csq) {
        const std::pair<const char*, std::string> keys[] = {
            {"SystemStatus", system}, {"KeepAwayMode", mode}, {"Defence1_8", zones},
            {"ByPass1_8", bypass},    {"Defence9_16", "00"},  {"ByPass9_16", "00"},
            {"GPRSCSQ", csq}};
        for (const auto& [key, value] : keys) f.tdm->params.Set(key, value);
        f.tdm->params.Set("HostModel", "TWK-16 V2.30");
        f.tdm->params.Set("GprsKERNELVer", "KERNEL V2.6.18");
        const std::pair<const char*, const char*> schedule[] = {
            {"Prog06_1Time", "22000700"}, {"Prog06_1Week", "11111000"},
            {"Prog06_1Wire", "111111"},   {"Prog06_1Wireless", "000000"},
            {"Prog06_2Time", "24602460"}, {"Prog06_2Week", "00000000"},
            {"Prog06_2Wire", "000000"},   {"Prog06_2Wireless", "000000"}};
        for (const auto& [key, value] : schedule) f.tdm->params.Set(key, value);
        window.Page(0).Load(f.tdm->params);
        Page().Changed();
    }
    template <typename W>
    W* Find(const char* name) {
        return form->findChild<W*>(name);
    }
    // Saves the window when TARNWICK_SCREENSHOTS names a folder.
    void Shot(const QString& name) {
        const QString dir = qEnvironmentVariable("TARNWICK_SCREENSHOTS");
        if (dir.isEmpty()) return;
        QDir().mkpath(dir);
        form->grab().save(dir + "/" + name + ".png");
    }
    std::unique_ptr<ui::TFormMain> form;
};

TEST(HostControlPageWidget, StatusShowsOnLampsSwitchesZonesAndSignal) {
    PageFixture p;
    p.Status("13", "00", "00", "00", "23");
    p.Shot("page0-disarmed");
    EXPECT_TRUE(p.Find<QPushButton>("bbtnInArming")->isEnabled());
    EXPECT_FALSE(p.Find<QPushButton>("bbtnDisArming")->isEnabled());
    EXPECT_TRUE(p.Find<QPushButton>("sbtnAC")->isEnabled());
    EXPECT_FALSE(p.Find<QPushButton>("sbtnTamper")->isEnabled());
    EXPECT_FALSE(p.Find<QPushButton>("sbtnAC")->icon().isNull());
    EXPECT_FALSE(p.Find<QPushButton>("bbtnPowerReset")->isEnabled());

    // Armed away with linkage and sound on; zone 2 in alarm, 3 bypassed.
    p.Status("73", "01", "02", "04", "9");
    p.Shot("page0-armed-away-zones");
    auto* linkage = p.Find<QPushButton>("bbtnOnOffLinkage");
    EXPECT_EQ(linkage->toolTip(), QStringLiteral("联动关闭(当前打开)"));
    EXPECT_FALSE(linkage->icon().isNull());
    EXPECT_FALSE(p.Find<QPushButton>("bbtnOutArming")->isEnabled());
    EXPECT_TRUE(p.Find<QPushButton>("bbtnDisArming")->isEnabled());
    EXPECT_TRUE(p.Find<QLabel>("lblDefence2")->styleSheet().contains("ff0000"));
    EXPECT_TRUE(p.Find<QLabel>("lblDefence3")->styleSheet().contains("0000ff"));
    EXPECT_TRUE(p.Find<QLabel>("lblDefence1")->styleSheet().contains("008000"));
    EXPECT_FALSE(p.Find<QLabel>("Img1CSQ")->pixmap().isNull());
    EXPECT_EQ(p.Find<QLabel>("stxtGPRSCSQ")->text(), QStringLiteral("GPRS/GSM信号:9"));

    p.Status("13", "02", "00", "00", "16");
    p.Shot("page0-armed-stay");
    EXPECT_FALSE(p.Find<QPushButton>("bbtnInArming")->isEnabled());
    EXPECT_TRUE(p.Find<QPushButton>("bbtnOutArming")->isEnabled());

    // The clearing before a read gives the labels their own colour back.
    p.window.Page(0).Prepare();
    p.Page().Changed();
    EXPECT_TRUE(p.Find<QLabel>("lblDefence2")->styleSheet().isEmpty());
}

// A busy page is disabled: the lamps keep their own pictures (lit, off,
// unknown), not Qt's greyed rendering of them.
TEST(HostControlPageWidget, LampsKeepTheirPicturesWhileThePageIsBusy) {
    PageFixture p;
    p.Status("11", "00", "00", "00", "23");  // phone line and mains lit
    auto image = [&](const char* lamp, QIcon::Mode mode) {
        return p.Find<QPushButton>(lamp)->icon().pixmap(QSize(24, 24), 1.0, mode).toImage();
    };
    auto picture = [](int index) {
        return QIcon(PicturePath("lamp%1.png").arg(index)).pixmap(QSize(24, 24), 1.0).toImage();
    };
    p.window.BusyStep();
    p.form->findChild<QWidget*>("tsHostControl")->setEnabled(false);
    EXPECT_EQ(image("sbtnAC", QIcon::Disabled), picture(kLampLit));
    EXPECT_EQ(image("sbtnTamper", QIcon::Disabled), picture(kLampOff));
    EXPECT_NE(image("sbtnAC", QIcon::Disabled), image("sbtnTamper", QIcon::Disabled));
    ShowStatusOutcome(p.Page(), p.f.tdm->params, false, {});
    p.Page().Changed();
    EXPECT_EQ(image("sbtnAC", QIcon::Disabled), picture(kLampUnknown));
    EXPECT_EQ(p.Find<QLabel>("stxtHostAnswer")->text(),
              QStringLiteral("主机无应答（最后更新 --:--:--）"));
    p.Shot("page0-silent");
}

TEST(HostControlPageWidget, ScheduleControlsFollowTheModel) {
    PageFixture p;
    p.f.tdm->params.Set("Prog06_1Time", "08301730");
    p.f.tdm->params.Set("Prog06_1Week", "10101000");
    p.window.Page(0).Load(p.f.tdm->params);
    p.Page().Changed();
    auto* hour = p.Find<QLineEdit>("edtHour1");
    EXPECT_EQ(hour->text(), QStringLiteral("08"));
    EXPECT_EQ(hour->maxLength(), 2);
    EXPECT_TRUE(p.Find<QCheckBox>("chkDefenceZone1")->isChecked());
    auto* monday = p.Find<QPushButton>("stxtWeek11");
    EXPECT_TRUE(monday->isChecked());
    p.Find<QPushButton>("stxtWeek11")->click();
    EXPECT_FALSE(p.Page()["stxtWeek11"].checked);
    EXPECT_FALSE(monday->isChecked());
    p.Find<QPushButton>("udHour1Up")->click();
    EXPECT_EQ(hour->text(), QStringLiteral("9"));
    // Switched off, the group shows no time (not 24:60).
    p.Find<QCheckBox>("chkDefenceZone1")->click();
    EXPECT_EQ(hour->text(), QString());
    // The tab says the page holds an unsaved change.
    EXPECT_EQ(p.form->Pages()->tabText(0), QStringLiteral("*主机控制"));
}

TEST(HostControlPageWidget, StatusTimerRunsOnlyWhenTheWindowSaysSo) {
    PageFixture p;
    auto* timer = p.form->findChild<QTimer*>("TimerRefreshStatus");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 15000);
    StandardPage(p.window, PageId::Debug).Controls()["chkAutoRefresh"].checked = false;
    p.window.PageChange(0);
    EXPECT_TRUE(timer->isActive());
    p.window.BusyStep();
    EXPECT_FALSE(timer->isActive());
    p.window.IdleStep();
    EXPECT_TRUE(timer->isActive());
    p.window.PageChange(3);
    EXPECT_FALSE(timer->isActive());
    // A tick behind another window polls nothing.
    p.window.PageChange(0);
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection));
    EXPECT_TRUE(p.f.timerClient().sent.empty());
}

}  // namespace
}  // namespace tarnwick
