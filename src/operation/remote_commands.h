#pragma once
#include <string>

#include "hosts/page_model.h"

namespace tarnwick {

class HostWindow;

// The buttons of gbAlarmHost: arming and disarming, host reset, linkage and
// alarm sound switching, clearing an alarm, auxiliary power reset, time
// synchronisation and the pairing window. Each press runs when no status poll
// waits; a press that arrives during a poll runs when it has ended.

// Declares the buttons with their hints and binds their presses.
void DeclareRemoteCommands(PageModel& c, HostWindow& window);

// SendRemoteControl: the remote control command of a button ("0A" + the
// operation code), its answer shown and logged, the status read back.
void SendRemoteControl(HostWindow& window, PageModel& c, const std::string& button);
// SendArmingCommand: arming or disarming; a successful answer is logged and
// acknowledged with the ArmingOperateInfo it carried, then the status is read
// back.
void SendArmingCommand(HostWindow& window, PageModel& c, const std::string& button);
// SyncHostTime: the PC's clock (the data module's clock port) to the host's
// network module.
void SyncHostTime(HostWindow& window);

// The seven clock bytes of a "yyyy-mm-dd hh:nn:ss" text: year - 1900, month
// - 1, day, weekday (Monday 00 … Sunday 06), hour, minute, second. Throws
// ConversionError on a text that is not such a date.
std::string ClockData(const std::string& nowText);

// The operation code a remote control button sends; its tag picks the
// direction of a switch button.
std::string RemoteOperationCode(const Control& button);

}  // namespace tarnwick
