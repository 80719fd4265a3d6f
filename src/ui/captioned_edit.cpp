#include "ui/captioned_edit.h"

#include <QBoxLayout>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "hosts/captioned_edits.h"
#include "hosts/page_model.h"
#include "ui/accessibility.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {

QLineEdit* AddCaptionedEdit(QGridLayout* grid, int row, QWidget* parent, const PageModel& model,
                            const CaptionedEdit& field) {
    QLabel* caption = MakeLabel(parent, field.label, model[field.label].text.c_str());
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QLineEdit* input = MakeEdit(parent, field.edit);
    caption->setBuddy(input);
    NameInput(input, model[field.edit].caption);
    grid->addWidget(caption, row, 0);
    grid->addWidget(input, row, 1);
    return input;
}

void AddAcceptCancelRow(QBoxLayout* layout, QDialog* dialog, const char* okName,
                        const char* cancelName) {
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* ok = MakeButton(dialog, okName);
    ok->setDefault(true);
    QPushButton* cancel = MakeButton(dialog, cancelName);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addSpacing(32);
    layout->addLayout(buttons);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

}  // namespace tarnwick::ui
