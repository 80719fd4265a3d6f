#include "ui/pages/wireless_zone_page_widget.h"

#include "programming/wireless_zone_page.h"
#include "ui/pages/programming_widgets.h"

namespace tarnwick::ui {

QWidget* BuildWirelessZonePageWidget(WirelessZonePage& page, QWidget* parent) {
    std::vector<GridColumn> columns;
    for (size_t col = 0; col < std::size(WirelessZonePage::kColumns); ++col) {
        const auto& column = WirelessZonePage::kColumns[col];
        const bool list =
            page.Controls()[std::string(column.base) + "1"].kind == ControlKind::ComboBox;
        columns.push_back({std::string(column.base), std::string(column.caption),
                           list ? GridColumn::List : GridColumn::Check});
    }
    std::vector<std::string> rows;
    for (int zone = 1; zone <= WirelessZonePage::kZones; ++zone)
        rows.push_back(WirelessZonePage::RowCaption(zone));
    return ZonePageWidget(
        page, parent, rows, columns, std::string(WirelessZonePage::kCrossGroup),
        {std::begin(WirelessZonePage::kCrossLists), std::end(WirelessZonePage::kCrossLists)});
}

}  // namespace tarnwick::ui
