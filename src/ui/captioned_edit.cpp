#include "ui/captioned_edit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "hosts/page_model.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {

QLineEdit* AddCaptionedEdit(QGridLayout* grid, int row, QWidget* parent, const PageModel& model,
                            const char* edit, const char* label) {
    QLabel* caption = MakeLabel(parent, label, model[label].text.c_str());
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QLineEdit* input = MakeEdit(parent, edit);
    caption->setBuddy(input);
    input->setAccessibleName(QString::fromStdString(model[edit].caption));
    grid->addWidget(caption, row, 0);
    grid->addWidget(input, row, 1);
    return input;
}

}  // namespace tarnwick::ui
