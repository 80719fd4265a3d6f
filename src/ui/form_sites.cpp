#include "ui/form_sites.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/accessibility.h"
#include "ui/control_binder.h"
#include "ui/fit_to_screen.h"
#include "ui/form_site_edit.h"
#include "ui/habits.h"
#include "ui/title_strip.h"
#include "ui/widget_factory.h"

namespace tarnwick::ui {
namespace {

constexpr int kColumnWidths[] = {130, 110, 55, 160, 80, 130, 130, 140, 220};

}  // namespace

TFormSites::TFormSites(SiteBookWindow& window, QWidget* parent) : QDialog(parent), window_(window) {
    setObjectName("TFormSites");
    setWindowTitle(QString::fromUtf8(kSiteBookTitle));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addWidget(new TitleStrip(QString::fromUtf8(kSiteBookTitle), this));
    grid_ = MakeGrid(this, "strgridSites");
    NameInput(grid_, window_.controls["strgridSites"].caption);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab leaves the grid for the buttons; the arrows move within it.
    grid_->setTabKeyNavigation(false);
    grid_->verticalHeader()->setVisible(false);
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setStyleSheet("QTableView { gridline-color: #c8c8c8; }");
    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(12, 8, 12, 8);
    middle->addWidget(grid_, 1);
    layout->addLayout(middle, 1);
    auto* state = MakeLabel(this, "lblSiteBookState");
    state->setContentsMargins(12, 0, 12, 6);
    layout->addWidget(state);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 0, 12, 0);
    for (const char* name : {"bbtnAddSite", "bbtnEditSite", "bbtnRemoveSite"})
        buttons->addWidget(MakeButton(this, name));
    buttons->addSpacing(24);
    for (const char* name : {"bbtnImportSites", "bbtnExportSites"})
        buttons->addWidget(MakeButton(this, name));
    buttons->addStretch(1);
    QPushButton* close = MakeButton(this, "bbtnCloseSites");
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    // Enter closes the window rather than adding a site.
    close->setDefault(true);
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0) window_.selected = row + 1;
    });
    connect(grid_, &QTableWidget::cellDoubleClicked, this,
            [this] { window_.controls.Click("bbtnEditSite"); });

    binder_ = new ControlBinder(window_.controls, this);
    window_.controls.SetObserver([this] { Sync(); });
    // The grid has its header now: the widths the operator left, else ours.
    for (int c = 0; c < grid_->columnCount() && c < static_cast<int>(std::size(kColumnWidths)); ++c)
        grid_->setColumnWidth(c, kColumnWidths[c]);
    RememberColumnWidths(grid_->horizontalHeader(), grid_->objectName());
    edit_ = new TFormSiteEdit(window_.edit, this);
    window_.edit.show = [this](SiteEditDialog&) { return edit_->Run(); };
    // Each file dialog opens in the folder of its last choice.
    window_.chooseImportPath = [this] {
        return ChooseOpenFile(this, QStringLiteral("import-sites"),
                              QString::fromUtf8(kImportSitesTitle),
                              QString::fromUtf8(kSiteCsvFilter))
            .toStdString();
    };
    window_.chooseExportPath = [this](const std::string& suggested) {
        return ChooseSaveFile(this, QStringLiteral("export-sites"),
                              QString::fromUtf8(kExportSitesTitle),
                              QString::fromStdString(suggested), QString::fromUtf8(kSiteCsvFilter))
            .toStdString();
    };
    FitToScreen(this, {1000, 480});
    RememberGeometry(this);
}

void TFormSites::Sync() {
    const QSignalBlocker quiet(grid_);
    binder_->Sync();
    if (window_.selected > 0) grid_->selectRow(window_.selected - 1);
}

void TFormSites::Run() {
    window_.Reload();
    grid_->setFocus();
    exec();
}

void TFormSites::keyPressEvent(QKeyEvent* e) {
    // Delete removes the selected site, after the question.
    if (e->key() == Qt::Key_Delete && grid_->hasFocus()) {
        window_.controls.Click("bbtnRemoveSite");
        return;
    }
    QDialog::keyPressEvent(e);
}

}  // namespace tarnwick::ui
