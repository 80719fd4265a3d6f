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
// What the look at the upgrade server found wrong, by step.
inline constexpr const char* kFtpConnectFailedText = "连接FTP服务器失败";
inline constexpr const char* kFtpLoginFailedText = "匿名登录FTP服务器失败";
inline constexpr const char* kFtpListFailedText = "读取FTP服务器文件列表失败";
inline constexpr const char* kNoUpgradeImageText = "文件列表中没有IMAGE.RAM";

// edtUpdateAddr and bbtnUpdate of the network module group: the remote
// firmware upgrade from an FTP server.
void DeclareFirmwareUpgrade(PageModel& c, HostWindow& window);

// What keeps `address` from serving the upgrade: empty when an anonymous
// login succeeds and the name listing of the login directory holds
// "IMAGE.RAM" (in any case); otherwise the failed step's text, with the FTP
// client's own words in `detail`.
std::string UpgradeImageProblem(FtpPort& ftp, const std::string& address, std::string* detail);
// True when UpgradeImageProblem finds nothing wrong.
bool CheckUpgradeImage(FtpPort& ftp, const std::string& address);
// The box of a server that cannot serve the upgrade: which step failed, at
// which server.
std::string UpgradeServerWrongText(const std::string& address, const std::string& problem);

// bbtnUpdateClick: asks, checks the server, orders the upgrade and waits in
// periods of a fixed number of seconds for the module's report, until the
// report arrives or the operator presses Stop.
void RunFirmwareUpgrade(HostWindow& window, FtpPort& ftp, const std::string& address);

}  // namespace tarnwick
