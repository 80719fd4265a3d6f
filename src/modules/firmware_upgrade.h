#pragma once
#include <string>
#include <string_view>

#include "hosts/page_model.h"

namespace tarnwick {

class FtpPort;
class HostWindow;

// Module class 50: the network module's remote firmware upgrade.
inline constexpr std::string_view kUpgradePair = "5081:5001 远程升级";
inline constexpr size_t kUpgradeAddressWidth = 50;
inline constexpr const char* kUpgradeImageName = "IMAGE.RAM";
inline constexpr const char* kDefaultUpgradeAddress = "192.168.1.100";

inline constexpr const char* kUpgradeQuestion = "确定要进行远程升级吗？";
inline constexpr const char* kUpgradeAddressWrongText =
    "升级文件地址有误或者该地址没有默认的升级文件，请核实！";
inline constexpr const char* kUpgradeSucceededText = ": 网管主机升级成功！";
inline constexpr const char* kUpgradeFailedText = ": 网管主机升级失败！";
inline constexpr const char* kUpgradeStartedTrace = "开始升级：";

// edtUpdateAddr and bbtnUpdate of the network module group: the remote
// firmware upgrade from an FTP server.
void DeclareFirmwareUpgrade(PageModel& c, HostWindow& window);

// True when an anonymous login to `address` succeeds and the name listing of
// the login directory holds "IMAGE.RAM" (in any case). Any failure gives false.
bool CheckUpgradeImage(FtpPort& ftp, const std::string& address);

// bbtnUpdateClick: asks, checks the server, orders the upgrade and waits in
// periods of a fixed number of seconds for the module's report, until the
// report arrives or the operator presses Stop.
void RunFirmwareUpgrade(HostWindow& window, FtpPort& ftp, const std::string& address);

}  // namespace tarnwick
