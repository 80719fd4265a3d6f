#pragma once

class QWidget;
class QGroupBox;

namespace tarnwick::ui {

// The live state of the alarm host: lamps, zone labels, signal, model and
// module version, named after the page model's controls.
QGroupBox* BuildHostStatusGroup(QWidget* parent);

}  // namespace tarnwick::ui
