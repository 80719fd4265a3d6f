#pragma once
#include <QObject>
#include <memory>
#include <string>

#include "hosts/connect_address.h"
#include "hosts/host_window.h"
#include "hosts/login.h"
#include "hosts/modify_ip.h"
#include "hosts/site_book_window.h"
#include "hosts/window_focus.h"

namespace tarnwick {
class ConfigActions;
class DataModule;
class PairingWindow;
class DatabasePort;
class SystemClock;
}  // namespace tarnwick

namespace tarnwick::ui {

class QtOperator;
class TFormHostList;
class TFormMain;
class TFormLogin;
class FocusReporter;
class TFormCodeMatch;
class TFormModifyIP;
class TFormConnectAddress;
class TFormSites;
class TFormFleet;
class TeamDatabaseWatch;

// The whole program: creates the windows and the data module in their order
// and connects them.
class Application : public QObject {
    Q_OBJECT
  public:
    // `database` is the db.mdb path or the team database's address, whose
    // writes wait in `outbox` while its server is away. Unattended, every
    // box is printed instead of shown, from start-up on (the window tour).
    explicit Application(const std::string& database, bool unattended = false,
                         const std::string& outbox = {});
    ~Application() override;

    void Show();
    // A line in the debug trace.
    void Trace(const std::string& line);
    // A warning box (printed when unattended), its text in the trace too.
    void Warn(const std::string& text);
    // Renders every window and page to DIR once the first search is over:
    // opens the first listed host with `password`, visits the pages, quits.
    // The application is built unattended for it.
    void Tour(const QString& dir, const std::string& password);

    TFormHostList& HostList() { return *hostList_; }
    TFormMain& HostWindowForm() { return *formMain_; }
    HostWindow& Window() { return *window_; }
    LoginDialog& Login() { return login_; }
    ModifyIpDialog& ModifyIp() { return *modifyIp_; }
    SiteBookWindow& Sites() { return *siteBook_; }

  private:
    void OpenDataModule(const std::string& database, const std::string& outbox);
    void WireHostList();
    void WireHostWindow();
    // The site book window and the dialog that connects to an address.
    void WireSites();
    void ConnectToAddress();
    void ShowSiteBook();
    // The board of every host's state, opened on the hosts and sites listed.
    void WireFleet();
    void ShowFleet();
    void TourFleet(const QString& dir);
    void OpenHost(int row);
    void ShowHostWindow();
    void TourPairing(const QString& dir);
    void TourConfig(const QString& dir);
    // Books two sites (one that answers, one that does not) and renders the
    // list with them, the site book and its dialogs.
    void TourSites(const QString& dir);

    std::unique_ptr<QtOperator> op_;
    std::unique_ptr<TFormHostList> hostList_;
    std::unique_ptr<DatabasePort> db_;
    std::unique_ptr<SystemClock> clock_;
    std::unique_ptr<DataModule> tdm_;
    std::unique_ptr<HostWindow> window_;
    std::unique_ptr<TFormMain> formMain_;
    std::unique_ptr<PairingWindow> pairing_;
    std::unique_ptr<TFormCodeMatch> formCodeMatch_;
    // The pages a comparison loads configurations into; never shown.
    std::unique_ptr<HostWindow> scratchWindow_;
    std::unique_ptr<ConfigActions> configActions_;
    std::unique_ptr<TFormLogin> formLogin_;
    LoginDialog login_;
    // Last, so that it goes first: it watches the windows above.
    WindowFocus focus_;
    std::unique_ptr<FocusReporter> focusReporter_;
    std::unique_ptr<ModifyIpDialog> modifyIp_;
    std::unique_ptr<TFormModifyIP> formModifyIp_;
    std::unique_ptr<ConnectAddressDialog> connectAddress_;
    std::unique_ptr<TFormConnectAddress> formConnectAddress_;
    std::unique_ptr<SiteBookWindow> siteBook_;
    std::unique_ptr<TFormSites> formSites_;
    std::unique_ptr<TFormFleet> formFleet_;
    std::unique_ptr<TeamDatabaseWatch> teamWatch_;
};

}  // namespace tarnwick::ui
