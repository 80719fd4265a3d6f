#pragma once
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

class QMainWindow;

namespace tarnwick {
class OutboxDatabase;
class OperatorPort;
class TraceMemo;
struct OpenedDatabase;
}  // namespace tarnwick

namespace tarnwick::ui {

// What opening the database found, said once: its problems in boxes, the
// engine's own words and a file others may read in the trace. False when
// the database cannot be used at all (an error box said why).
bool ReportOpenedDatabase(OperatorPort& op, TraceMemo& trace, const OpenedDatabase& database,
                          const std::string& location, const std::string& outboxPath);

// The team database's news in the window: what the operator must know in a
// box, the engine's own words in the debug trace, the writes that wait in
// the status bar of `window`; while any wait, the server is asked again on a
// timer, so that they go as soon as it answers, without another write.
class TeamDatabaseWatch : public QObject {
  public:
    // `busy` is true while a flow runs: the timer then leaves the database
    // to it.
    TeamDatabaseWatch(OutboxDatabase& outbox, OperatorPort& op, QMainWindow& window,
                      std::function<void(const std::string&)> trace, std::function<bool()> busy);
    ~TeamDatabaseWatch() override;
    // The count in the status bar, now.
    void ShowWaiting();

  private:
    void Tick();

    OutboxDatabase& outbox_;
    QMainWindow& window_;
    std::function<bool()> busy_;
    QTimer timer_;
    bool ticking_ = false;
};

}  // namespace tarnwick::ui
