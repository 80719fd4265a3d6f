#pragma once

class QWidget;

namespace tarnwick {
class WiredZonePage;
}

namespace tarnwick::ui {

// tsWireDefenceZone: the zone grid and the wired cross-zone logic.
QWidget* BuildWiredZonePageWidget(WiredZonePage& page, QWidget* parent);

}  // namespace tarnwick::ui
