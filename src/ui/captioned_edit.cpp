#include "ui/captioned_edit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

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

}  // namespace tarnwick::ui
