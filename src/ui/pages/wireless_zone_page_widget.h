#pragma once

class QWidget;

namespace tarnwick {
class WirelessZonePage;
}

namespace tarnwick::ui {

// tsWirelessDefenceZone: the grid of zones 7 to 12 and the wireless cross-zone logic.
QWidget* BuildWirelessZonePageWidget(WirelessZonePage& page, QWidget* parent);

}  // namespace tarnwick::ui
