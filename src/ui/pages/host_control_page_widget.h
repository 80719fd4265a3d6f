#pragma once

class QWidget;

namespace tarnwick {
class HostControlPage;
}  // namespace tarnwick

namespace tarnwick::ui {

// tsHostControl: the status and the commands on the left, the two timed
// arming groups in the middle, the network module groups on the right; one
// binder for the whole page.
QWidget* BuildHostControlPageWidget(HostControlPage& page, QWidget* parent);

}  // namespace tarnwick::ui
