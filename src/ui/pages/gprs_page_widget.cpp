#include "ui/pages/gprs_page_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "modules/gprs_page.h"
#include "protocol/text_helpers.h"
#include "ui/control_binder.h"
#include "ui/qt_text.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {
namespace {

class GprsLayout {
  public:
    explicit GprsLayout(GprsPage& page) : page_(page) {}

    QGroupBox* Group(QWidget* parent, int index) {
        const GprsGroup& g = GprsPage::Groups().at(static_cast<size_t>(index));
        auto* box = new QGroupBox(Q(g.caption), parent);
        box->setObjectName(Q(g.name));
        return box;
    }
    // A caption label with the control as its buddy, in a row of a grid.
    const std::string& Caption(QWidget* input) const {
        return page_.CaptionOf(input->objectName().toStdString());
    }
    const std::string& Hint(QWidget* input) const {
        return page_.Controls()[input->objectName().toStdString()].hint;
    }
    template <typename W>
    W* Captioned(QGridLayout* grid, int row, int column, W* input, int span = 1) {
        const std::string& caption = Caption(input);
        auto* label = new QLabel(Q(caption), input->parentWidget());
        label->setBuddy(input);
        const bool tall = qobject_cast<QPlainTextEdit*>(input) != nullptr;
        label->setAlignment(Qt::AlignRight | (tall ? Qt::AlignTop : Qt::AlignVCenter));
        grid->addWidget(label, row, column);
        grid->addWidget(input, row, column + 1, 1, span);
        order_.push_back(input);
        return input;
    }
    void Add(QWidget* input) { order_.push_back(input); }
    const std::vector<QWidget*>& Order() const { return order_; }

  private:
    GprsPage& page_;
    std::vector<QWidget*> order_;
};

QGroupBox* ModuleInfo(GprsLayout& l, QWidget* parent) {
    QGroupBox* box = l.Group(parent, 0);
    auto* grid = new QGridLayout(box);
    l.Captioned(grid, 0, 0, MakeEdit(box, "edtGprsDeviceID"));
    l.Captioned(grid, 0, 2, MakeEdit(box, "edtGprsHeartbeatInterval"));
    for (int i = 1; i <= 2; ++i) {
        const std::string n = std::to_string(i);
        const int row = i;
        l.Captioned(grid, row, 0, MakeEdit(box, ("edtGprsDomainName" + n).c_str()));
        QLineEdit* ip = l.Captioned(grid, row, 2, MakeEdit(box, ("edtGprsIP" + n).c_str()));
        ip->setMinimumWidth(ip->fontMetrics().horizontalAdvance(QStringLiteral("255.255.255.255")) +
                            16);
        QLineEdit* port = MakeEdit(box, ("edtGprsPort" + n).c_str());
        // The port has no label of its own: its hint shows in it.
        port->setPlaceholderText(Q(l.Hint(port)));
        port->setMaximumWidth(80);
        grid->addWidget(port, row, 4);
        l.Add(port);
    }
    auto* servers = new QPlainTextEdit(box);
    servers->setObjectName("memGprsDomainRPIP");
    servers->setTabChangesFocus(true);
    servers->setMaximumHeight(80);
    l.Captioned(grid, 3, 0, servers, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (const char* name : {"bbtnRebootGPRS", "bbtnDefaultSetGPRS"}) {
        QPushButton* button = MakeButton(box, name);
        buttons->addWidget(button);
        l.Add(button);
    }
    grid->addLayout(buttons, 4, 0, 1, 5);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    grid->setRowStretch(5, 1);
    return box;
}

QGroupBox* SmsSettings(GprsLayout& l, QWidget* parent) {
    QGroupBox* box = l.Group(parent, 2);
    auto* grid = new QGridLayout(box);
    QCheckBox* boot = MakeCheck(box, "chkGprsBootSMS");
    grid->addWidget(boot, 0, 0, 1, 2);
    l.Add(boot);
    // The entries are long: the list takes the whole row under its caption.
    QComboBox* info = MakeCombo(box, "cbGprsInfoSMS");
    auto* caption = new QLabel(Q(l.Caption(info)), box);
    caption->setBuddy(info);
    grid->addWidget(caption, 1, 0, 1, 2);
    grid->addWidget(info, 2, 0, 1, 2);
    l.Add(info);
    QCheckBox* report = MakeCheck(box, "chkGprsReportSMS");
    grid->addWidget(report, 3, 0, 1, 2);
    l.Add(report);
    grid->setColumnStretch(1, 1);
    return box;
}

QGroupBox* EditGroup(GprsLayout& l, QWidget* parent, int group,
                     std::initializer_list<const char*> edits) {
    QGroupBox* box = l.Group(parent, group);
    auto* grid = new QGridLayout(box);
    int row = 0;
    for (const char* name : edits) l.Captioned(grid, row++, 0, MakeEdit(box, name));
    grid->setColumnStretch(1, 1);
    return box;
}

// Two columns of phone rows: number, then status where the row has one.
QGroupBox* Phones(GprsLayout& l, QWidget* parent) {
    QGroupBox* box = l.Group(parent, 1);
    auto* grid = new QGridLayout(box);
    struct Row {
        std::string edit;
        std::string status;
    };
    std::vector<Row> left = {{"edtManagePhone", ""}, {"edtSMSPhone", "cbSMSPhoneStatus"}};
    for (int i = 1; i <= 3; ++i) left.push_back({Numbered("edtProgPhone", i), ""});
    std::vector<Row> right;
    for (int i = 1; i <= 8; ++i)
        right.push_back({Numbered("edtAlarmPhone", i), Numbered("cbAlarmPhoneStatus", i)});
    int column = 0;
    for (const auto* rows : {&left, &right}) {
        int row = 0;
        for (const Row& r : *rows) {
            l.Captioned(grid, row, column, MakeEdit(box, r.edit.c_str()));
            if (!r.status.empty()) {
                QComboBox* status = MakeCombo(box, r.status.c_str());
                grid->addWidget(status, row, column + 2);
                l.Add(status);
            }
            ++row;
        }
        column += 3;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(8, 1);
    return box;
}

}  // namespace

QWidget* BuildGprsPageWidget(GprsPage& page, QWidget* parent) {
    auto* widget = new QWidget(parent);
    widget->setObjectName(Q(page.PageName()));
    GprsLayout l(page);
    auto* top = new QHBoxLayout;
    top->addWidget(ModuleInfo(l, widget), 3);
    auto* side = new QVBoxLayout;
    side->addWidget(SmsSettings(l, widget));
    side->addWidget(EditGroup(l, widget, 3, {"edtGprsAPN1", "edtUserName", "edtPassword"}));
    side->addWidget(EditGroup(l, widget, 4, {"edtOldPassword", "edtNewPassword"}));
    side->addStretch(1);
    top->addLayout(side, 2);
    auto* layout = new QVBoxLayout(widget);
    layout->addLayout(top);
    layout->addWidget(Phones(l, widget), 1);

    const auto& order = l.Order();
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);

    auto* binder = new ControlBinder(page.Controls(), widget);
    page.Controls().SetObserver([binder] { binder->Sync(); });
    return widget;
}

}  // namespace tarnwick::ui
