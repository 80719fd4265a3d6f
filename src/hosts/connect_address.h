#pragma once
#include <functional>
#include <string>

#include "hosts/captioned_edits.h"
#include "hosts/page_model.h"
#include "protocol/unicast_address.h"
#include "storage/site_book.h"

namespace tarnwick {

class DataModule;
class HostWindow;
struct HostListWindowModel;
struct LoginDialog;

// The dialog "连接指定地址" without its widgets: the address, the port and an
// optional site name to book the host under. Created once, so it keeps the
// text last typed.
class ConnectAddressDialog {
  public:
    ConnectAddressDialog();
    // The three edits with their labels, in reading order.
    static constexpr CaptionedEdit kFields[] = {
        {"edtConnectIP", "lblConnectIP", kSiteAddressCaption, kIPv4TextLength, KeyFilter::Address},
        {"edtConnectPort", "lblConnectPort", kSitePortCaption, 5, KeyFilter::Digits},
        {"edtConnectSite", "lblConnectSite", kSiteNameCaption}};

    PageModel controls;
    // Shows the dialog modally; true for OK, false for Cancel.
    std::function<bool(ConnectAddressDialog&)> show;
};

inline constexpr const char* kConnectAddressTitle = "连接指定地址";
inline constexpr const char* kConnectAddressAction = "连接指定地址...";

// miConnectAddress: reaches a host beyond the broadcast. The typed fields are
// checked first (a box names the wrong one and the dialog comes back with
// the text kept; nothing is sent). Then the search frame goes to that address
// alone, its answer (if one comes within a second) is listed, and the host is
// logged in to exactly as from a row. A host that was reached is booked under
// the typed name when one was given.
void ConnectToAddress(DataModule& tdm, HostListWindowModel& list, ConnectAddressDialog& dialog,
                      HostWindow& window, LoginDialog& login,
                      const std::function<void()>& showHostWindow);

}  // namespace tarnwick
