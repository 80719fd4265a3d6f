#include "ui/pages/wired_zone_page_widget.h"

#include "programming/wired_zone_page.h"
#include "ui/pages/programming_widgets.h"

namespace tarnwick::ui {

QWidget* BuildWiredZonePageWidget(WiredZonePage& page, QWidget* parent) {
    // Widths of the four list columns in characters; the boxes follow.
    const int listChars[] = {12, 10, 6, 7};
    std::vector<GridColumn> columns;
    for (size_t col = 0; col < std::size(WiredZonePage::kColumns); ++col) {
        const auto& column = WiredZonePage::kColumns[col];
        const bool list = col < std::size(listChars);
        columns.push_back({std::string(column.base), std::string(column.caption),
                           list ? GridColumn::List : GridColumn::Check, list ? listChars[col] : 0});
    }
    std::vector<std::string> rows;
    for (int zone = 1; zone <= WiredZonePage::kZones; ++zone)
        rows.push_back(WiredZonePage::RowCaption(zone));
    return ZonePageWidget(
        page, parent, rows, columns, std::string(WiredZonePage::kCrossGroup),
        {std::begin(WiredZonePage::kCrossLists), std::end(WiredZonePage::kCrossLists)});
}

}  // namespace tarnwick::ui
