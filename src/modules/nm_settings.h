#pragma once
#include "hosts/page_model.h"
#include "protocol/command_entry.h"
#include "protocol/name_value_list.h"

namespace tarnwick {

class HostWindow;
class OperatorPort;

// gbNMInfo and GroupBox5 of the first page: the network module's identity,
// centres, heartbeat, network management and local network settings, with
// its restart and factory reset buttons.
void DeclareNmSettings(PageModel& c, HostWindow& window);
// The module part of ClearHostControlPage.
void ClearNmSettings(PageModel& c);
// The module part of LoadHostControlPage.
void LoadNmSettings(PageModel& c, const DeviceParams& stored);
// The module's writes of the first page's save, in their order. A setting
// whose state was never read (no mode chosen, no address kind chosen) is left
// out; a heartbeat that cannot be sent refuses the save (SaveRefused).
void QueueNmWrites(CommandList& list, PageModel& c, const DeviceParams& stored);

// The checks made when the operator leaves one of the groups' edits.
void DeclareNmExitChecks(PageModel& c, OperatorPort& op);

// EncodeLocalNetwork: the DHCP flag, the three local address fields and the
// two stored name server fields as read; empty when no address kind is chosen.
std::string EncodeLocalNetwork(const PageModel& c, const DeviceParams& stored);

// The three check items of chklbNMInfo, bit 0 to bit 2 of NMNetSwitch.
inline constexpr const char* kNetSwitchItems[] = {"有线网络启用", "GPRS/GSM网络启用",
                                                  "PSTN网络启动"};
inline constexpr const char* kNetModeItems[] = {"单网", "多网"};

}  // namespace tarnwick
