#pragma once
#include <QObject>
#include <memory>
#include <string>

#include "hosts/host_window.h"
#include "hosts/login.h"

namespace tarnwick {
class DataModule;
class SqliteDatabase;
class SystemClock;
}  // namespace tarnwick

namespace tarnwick::ui {

class QtOperator;
class TFormHostList;
class TFormMain;
class TFormLogin;

// The whole program: creates the windows and the data module in their order
// and connects them.
class Application : public QObject {
    Q_OBJECT
  public:
    // `dbPath` is the database in the working directory.
    explicit Application(const std::string& dbPath);
    ~Application() override;

    void Show();
    // A line in the debug trace.
    void Trace(const std::string& line);
    // Renders every window and page to DIR once the first search is over:
    // opens the first listed host with `password`, visits the pages, quits.
    void Tour(const QString& dir, const std::string& password);

    DataModule& Tdm() { return *tdm_; }
    TFormHostList& HostList() { return *hostList_; }
    TFormMain& HostWindowForm() { return *formMain_; }
    HostWindow& Window() { return *window_; }
    LoginDialog& Login() { return login_; }

  private:
    void OpenDataModule(const std::string& dbPath);
    void WireHostList();
    void WireHostWindow();
    void OpenHost(int row);
    void ShowHostWindow();

    std::unique_ptr<QtOperator> op_;
    std::unique_ptr<TFormHostList> hostList_;
    std::unique_ptr<SqliteDatabase> db_;
    std::unique_ptr<SystemClock> clock_;
    std::unique_ptr<DataModule> tdm_;
    std::unique_ptr<HostWindow> window_;
    std::unique_ptr<TFormMain> formMain_;
    std::unique_ptr<TFormLogin> formLogin_;
    LoginDialog login_;
};

}  // namespace tarnwick::ui
