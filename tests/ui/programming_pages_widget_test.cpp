// The four programming pages as the operator and a screen reader meet them:
// every input named by its caption, lists telling their entry, Tab along the
// rows, and the widgets in step with the page models.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QValidator>

#include "hosts/host_window.h"
#include "programming/programming_page.h"
#include "support/core_fixture.h"
#include "support/host_window_fixture.h"
#include "support/section_reads.h"
#include "ui/form_main.h"

namespace tarnwick {
namespace {

// The widget Tab moves to from `from`.
QWidget* NextTabStop(QWidget* from) {
    QWidget* next = from->nextInFocusChain();
    while (next && next != from && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

struct ProgrammingForm : testing::HostWindowFixture {
    ProgrammingForm() { form = std::make_unique<ui::TFormMain>(window); }
    QWidget* Page(int index) { return form->Pages()->widget(index); }
    std::unique_ptr<ui::TFormMain> form;
};

TEST(ProgrammingPageWidgets, EveryShownControlHasItsWidgetAndCaptionsStandBesideTheirInputs) {
    ProgrammingForm w;
    for (int index = 1; index <= 4; ++index) {
        auto& page = dynamic_cast<ProgrammingPage&>(w.window.Page(index));
        QWidget* root = w.Page(index);
        int inputs = 0;
        for (QWidget* widget : root->findChildren<QWidget*>()) {
            const bool input = qobject_cast<QComboBox*>(widget) ||
                               qobject_cast<QLineEdit*>(widget) ||
                               qobject_cast<QAbstractButton*>(widget);
            if (!input || widget->objectName().isEmpty() || widget->parent()->inherits("QComboBox"))
                continue;
            ++inputs;
            const std::string name = widget->objectName().toStdString();
            ASSERT_TRUE(page.Controls().Holds(name)) << name;
        }
        // Every control the page shows has its widget (the spare siren box has none).
        int shown = 0;
        for (const auto& control : page.Controls().Controls()) shown += control->visible;
        EXPECT_EQ(inputs, shown) << page.PageName();
    }
    // A box in a grid shows no text: the row and column captions say it.
    auto* buzzer = w.Page(1)->findChild<QCheckBox*>("ckKeyboardBeeper3");
    ASSERT_NE(buzzer, nullptr);
    EXPECT_TRUE(buzzer->text().isEmpty());
    auto* setter = w.Page(3)->findChild<QLineEdit*>("edtSetterCode");
    bool buddied = false;
    for (QLabel* label : w.Page(3)->findChildren<QLabel*>()) buddied |= label->buddy() == setter;
    EXPECT_TRUE(buddied);
}

// The codes and numbers of the communication page take digits only: "ab"
// typed into a user code never reaches the host as 00AB.
TEST(ProgrammingPageWidgets, CodeAndNumberEditsTakeDigitsOnly) {
    ProgrammingForm w;
    for (const char* name :
         {"edtSetterCode", "edtUserCode1", "edtUserCode4", "edtAlarmCall1", "edtAlarmCall8"}) {
        SCOPED_TRACE(name);
        auto* edit = w.Page(3)->findChild<QLineEdit*>(name);
        ASSERT_NE(edit, nullptr);
        ASSERT_NE(edit->validator(), nullptr);
        int at = 0;
        QString letters = QStringLiteral("ab");
        QString digits = QStringLiteral("0042");
        EXPECT_EQ(edit->validator()->validate(letters, at), QValidator::Invalid);
        EXPECT_EQ(edit->validator()->validate(digits, at), QValidator::Acceptable);
    }
}

TEST(ProgrammingPageWidgets, LoadedValuesShowAndTabFollowsTheRows) {
    ProgrammingForm w;
    testing::StoreSectionReads(w.f.tdm->params,
                               {{4, testing::kSampleBodies[4]}, {7, testing::kSampleBodies[7]}});
    PageBranch& wired = w.window.Page(1);
    wired.Load(w.f.tdm->params);
    wired.Controls().Changed();
    auto* type = w.Page(1)->findChild<QComboBox*>("cbDefenceZoneType1");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->count(), 15);
    EXPECT_EQ(type->currentText(), QStringLiteral("A - 医疗防区"));
    EXPECT_EQ(w.Page(1)->findChild<QComboBox*>("cbWireCrossTime")->count(), 100);
    // Zone 1's row from left to right, then zone 2's first list.
    const char* order[] = {
        "cbYXDefenceZoneNo1",    "cbDefenceZoneType1", "cbDefenceZoneTime1",
        "cbDefenceZoneTrigger1", "ckDefenceZoneWay1",  "ckKeyboardBeeper1",
        "ckOutAlarm1",           "ckProgramElectric1", "chkInArmingToWireDefenceZone1",
        "cbYXDefenceZoneNo2"};
    for (size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget* from = w.Page(1)->findChild<QWidget*>(order[i]);
        ASSERT_NE(from, nullptr) << order[i];
        QWidget* next = NextTabStop(from);
        ASSERT_NE(next, nullptr) << order[i];
        EXPECT_EQ(next->objectName().toStdString(), order[i + 1]);
    }
    // The operator's choice reaches the model.
    type->setCurrentIndex(3);
    emit type->activated(3);
    EXPECT_EQ(wired.Controls()["cbDefenceZoneType1"].index, 3);
}

// The system program page is read column by column from the top left: Tab
// leaves each group for the one below it and the foot of a column for the
// head of the next.
TEST(ProgrammingPageWidgets, SystemProgramTabOrderStartsTopLeftAndFollowsTheColumns) {
    ProgrammingForm w;
    QWidget* page = w.Page(4);
    const std::pair<const char*, const char*> steps[] = {
        {"chkRelayEvent8", "chkSystemControl11"},     {"chkSystemControl16", "chkProgOutputEvent1"},
        {"chkProgOutputEvent8", "chkEventReport11"},  {"chkEventReport16", "chkAlarmEvent1"},
        {"chkAlarmEvent7", "chkSystemControl21"},     {"chkSystemControl24", "rbtnSystemControl25"},
        {"rbtnSystemControl26_", "chkEventReport21"}, {"chkEventReport210", "chkNeighborDile1"},
        {"chkNeighborDile2", "rbDualNetwork1"},
    };
    for (const auto& [from, to] : steps) {
        QWidget* at = page->findChild<QWidget*>(from);
        ASSERT_NE(at, nullptr) << from;
        QWidget* next = NextTabStop(at);
        ASSERT_NE(next, nullptr) << from;
        EXPECT_EQ(next->objectName().toStdString(), to) << "after " << from;
    }
}

}  // namespace
}  // namespace tarnwick
