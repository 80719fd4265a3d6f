#pragma once
#include <functional>
#include <string>

#include "hosts/host_target.h"

namespace tarnwick {

class DataModule;
class HostListModel;
class HostWindow;

// TFormLogin: created once, so the edit keeps the last text typed.
struct LoginDialog {
    std::string password = "246810";  // edtoPassword
    // lblLoginHost: which host the password is for, "登录主机 " + address.
    std::string hostText;
    // Shows the dialog modally; true for OK, false for Cancel.
    std::function<bool(LoginDialog&)> show;
};

inline constexpr const char* kPasswordCaption = "密  码:";
inline constexpr const char* kWrongPasswordText = "\r    密码有误，无法登录！    ";

// strgridHostListDblClick: opens the host of a list row (1-based), at the
// port its site is booked with: reads its installer code, asks for the
// password and shows the host window. Defined in app/open_host.cpp: the
// installer code read belongs to the programming feature, which the page
// framework does not include.
void OpenHost(DataModule& tdm, const HostListModel& list, int row, HostWindow& window,
              LoginDialog& dialog, const std::function<void()>& showHostWindow);

// Opens the host at `target` as a list row opens its host (the board of
// every host's state opens its rows so): nothing while a flow runs or the
// host window keeps unsaved changes. Defined in app/open_host.cpp.
void OpenHostAt(DataModule& tdm, const HostTarget& target, HostWindow& window, LoginDialog& dialog,
                const std::function<void()>& showHostWindow);

// How a login ended.
enum class LoginResult { Unreached, Cancelled, WrongPassword, Opened };

// The login itself, inside a flow that runs already: makes `target` the
// current host, reads its installer code ("无法管理到..." when none comes),
// asks for the password and shows the host window. A booked host that
// answered is recorded as seen in the site book.
LoginResult LogIn(DataModule& tdm, const HostTarget& target, HostWindow& window,
                  LoginDialog& dialog, const std::function<void()>& showHostWindow);

// "登录主机 " + address, and ":" + port when it is not the host port.
std::string LoginHostText(const HostTarget& target);

// "无法管理到" + address + "设备，请检查网络配置!"
std::string UnreachedText(const std::string& address);

}  // namespace tarnwick
