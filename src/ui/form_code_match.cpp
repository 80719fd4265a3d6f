#include "ui/form_code_match.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "operation/pairing.h"
#include "protocol/text_helpers.h"
#include "protocol/timing.h"
#include "ui/control_binder.h"
#include "ui/habits.h"
#include "ui/qt_text.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {

TFormCodeMatch::TFormCodeMatch(PairingWindow& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName("TFormCodeMatch");
    setWindowTitle(QStringLiteral("无线对码"));
    setModal(true);
    resize(560, 420);
    RememberGeometry(this);
    auto* layout = new QVBoxLayout(this);

    auto* panel = new QGroupBox(QString::fromStdString(model.controls["gbCodeMatch"].text), this);
    panel->setObjectName("gbCodeMatch");
    auto* slotGrid = new QGridLayout(panel);
    // Each list with its caption as buddy; the model's labels keep their names.
    auto addList = [&](const char* labelName, const std::string& caption, const char* name,
                       int column) {
        QComboBox* list = MakeCombo(panel, name);
        QLabel* label = MakeLabel(panel, labelName, caption.c_str());
        label->setBuddy(list);
        slotGrid->addWidget(label, 0, column);
        slotGrid->addWidget(list, 0, column + 1);
        slotGrid->setColumnStretch(column + 1, 1);
        return list;
    };
    QComboBox* kind = addList("lblWirelessDevice", "设备类型：", "cbWirelessDevice", 0);
    QComboBox* defence = addList("lblDefence", model.controls["lblDefence"].text, "cbDefence", 2);
    QComboBox* address = addList("lblAddress", model.controls["lblAddress"].text, "cbAddress", 4);
    layout->addWidget(panel);

    auto* buttons = new QHBoxLayout;
    const char* names[] = {"bbtnCodeMatching", "bbtnDeleteCodeMatch", "bbtnStopCodeMatching",
                           "bbtnClear", "bbtnQuit"};
    QWidget* previous = address;
    for (const char* name : names) {
        QPushButton* button = MakeButton(this, name);
        button->setAutoDefault(false);
        buttons->addWidget(button);
        setTabOrder(previous, button);
        previous = button;
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);

    progress_ = new QProgressBar(this);
    progress_->setObjectName("PbarCodeMatching");
    progress_->setRange(0, kPairingWaits);
    progress_->setAccessibleName(QStringLiteral("对码等待"));
    layout->addWidget(progress_);

    auto* log = new QTextEdit(this);
    log->setObjectName("memCMInfo");
    log->setAccessibleName(QStringLiteral("对码信息"));
    log->setReadOnly(true);
    log->setTabChangesFocus(true);
    layout->addWidget(log, 1);
    setTabOrder(kind, defence);
    setTabOrder(defence, address);

    // The label texts come from the model before the binder takes over.
    auto* binder = new ControlBinder(model.controls, this);
    model.controls.SetObserver([this, binder] {
        binder->Sync();
        SyncProgress();
    });
    model.closeWindow = [this] { close(); };
    SyncProgress();
}

void TFormCodeMatch::SyncProgress() {
    progress_->setVisible(model_.progressVisible);
    progress_->setValue(model_.progress);
}

void TFormCodeMatch::reject() {
    // Closing always goes through; a pairing wait ends with it.
    model_.Close();
    QDialog::reject();
}

}  // namespace tarnwick::ui
