#pragma once
#include <functional>
#include <string>

#include "hosts/captioned_edits.h"
#include "hosts/page_model.h"
#include "protocol/unicast_address.h"

namespace tarnwick {

class DataModule;
class OperatorPort;
struct HostListWindowModel;

// TFormModifyIP without its widgets: the present address (read-only), the new
// address, mask and gateway, and the two buttons. Created once, so the new
// address keeps the text last typed.
class ModifyIpDialog {
  public:
    explicit ModifyIpDialog(OperatorPort& op);
    // The four edits with their labels, in reading order.
    static constexpr CaptionedEdit kFields[] = {
        {"edtOldIP", "lblOldIP", "原IP地址", kIPv4TextLength, KeyFilter::Address},
        {"edtNewIP", "lblNewIP", "新IP地址", kIPv4TextLength, KeyFilter::Address},
        {"edtNewMask", "lblNewMask", "子网掩码", kIPv4TextLength, KeyFilter::Address},
        {"edtNewGateway", "lblNewGateway", "默认网关", kIPv4TextLength, KeyFilter::Address}};

    PageModel controls;
    // Shows the dialog modally; true for OK, false for Cancel.
    std::function<bool(ModifyIpDialog&)> show;

  private:
    OperatorPort& op_;
};

inline constexpr const char* kModifyIpTitle = "网络配置";
inline constexpr const char* kModifyIpHeading = "修改本地网络配置信息";
inline constexpr const char* kIpValueWrongText = "输入的IP数值有误，请重新输入！";
inline constexpr const char* kInvalidIpText = "输入无效的IP地址，请重试！";
inline constexpr const char* kBroadcastTracePrefix = "[广播包]：";
inline constexpr const char* kModifyIpWaitingTitle = "正在修改主机的IP地址，请稍候...";
std::string AbsentSiteText(const std::string& site);

// The IP change request: class 02, command DB, the present address, the new
// address, mask and gateway as 15-byte text fields.
std::string ModifyIpFrame(const std::string& oldIp, const std::string& newIp,
                          const std::string& newMask, const std::string& newGateway);

// miModifyIPClick: gives the host of a list row (1-based) a new address, mask
// and gateway by broadcast and reports the host's answer. Errors are
// swallowed after the clean-up. A booked site that did not answer the
// search is told apart: the broadcast would not reach it either.
void ModifyHostAddress(DataModule& tdm, HostListWindowModel& window, int row,
                       ModifyIpDialog& dialog);

}  // namespace tarnwick
