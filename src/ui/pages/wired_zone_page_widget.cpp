#include "ui/pages/wired_zone_page_widget.h"

#include "programming/wired_zone_page.h"
#include "ui/pages/programming_widgets.h"

namespace tarnwick::ui {

QWidget* BuildWiredZonePageWidget(WiredZonePage& page, QWidget* parent) {
    std::vector<GridColumn> columns;
    for (size_t col = 0; col < std::size(WiredZonePage::kColumns); ++col) {
        const auto& column = WiredZonePage::kColumns[col];
        const bool list =
            page.Controls()[std::string(column.base) + "1"].kind == ControlKind::ComboBox;
        columns.push_back({std::string(column.base), std::string(column.caption),
                           list ? GridColumn::List : GridColumn::Check});
    }
    std::vector<std::string> rows;
    for (int zone = 1; zone <= WiredZonePage::kZones; ++zone)
        rows.push_back(WiredZonePage::RowCaption(zone));
    return ZonePageWidget(
        page, parent, rows, columns, std::string(WiredZonePage::kCrossGroup),
        {std::begin(WiredZonePage::kCrossLists), std::end(WiredZonePage::kCrossLists)});
}

}  // namespace tarnwick::ui
