#include "ui/team_database_watch.h"

#include <QMainWindow>
#include <QStatusBar>

#include "protocol/operator_port.h"
#include "protocol/timing.h"
#include "protocol/trace_memo.h"
#include "storage/database_opening.h"
#include "storage/database_startup.h"
#include "storage/outbox_database.h"
#include "ui/qt_text.h"

namespace tarnwick::ui {

bool ReportOpenedDatabase(OperatorPort& op, TraceMemo& trace, const OpenedDatabase& database,
                          const std::string& location, const std::string& outboxPath) {
    if (database.created)
        trace.Add("数据库文件 " + location + " 不存在或为空，已按初始数据重新建立。");
    if (!database.detail.empty()) trace.Add("团队数据库：" + database.detail);
    const std::string file = IsPostgresUrl(location) ? outboxPath : location;
    if (const std::string wide = WideModeText(file); !wide.empty()) trace.Add(wide);
    // With an outbox the tool goes on with the code tables of this computer.
    if (!database.problem.empty() && !database.outbox) {
        op.Error(database.problem);
        return false;
    }
    if (!database.problem.empty()) op.Warning(database.problem);
    if (!database.schemaProblem.empty()) op.Warning(database.schemaProblem);
    if (!database.outboxProblem.empty()) op.Warning(database.outboxProblem);
    return true;
}

TeamDatabaseWatch::TeamDatabaseWatch(OutboxDatabase& outbox, OperatorPort& op, QMainWindow& window,
                                     std::function<void(const std::string&)> trace,
                                     std::function<bool()> busy)
    : outbox_(outbox), window_(window), busy_(std::move(busy)) {
    window_.statusBar()->setObjectName("sbTeamDatabase");
    outbox_.SetTrace(std::move(trace));
    outbox_.SetNotifier([this, &op](const std::string& text) {
        op.Warning(text);
        // A write that waits now, or one that went at last.
        QMetaObject::invokeMethod(
            this, [this] { ShowWaiting(); }, Qt::QueuedConnection);
    });
    connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    timer_.start(kOutboxRetryPeriodMs);
    ShowWaiting();
}

TeamDatabaseWatch::~TeamDatabaseWatch() {
    outbox_.SetNotifier(nullptr);
    outbox_.SetTrace(nullptr);
}

void TeamDatabaseWatch::ShowWaiting() {
    const std::string text = OutboxWaitingText(outbox_.Server(), outbox_.Waiting());
    QStatusBar* bar = window_.statusBar();
    bar->setVisible(!text.empty());
    bar->showMessage(Q(text));
}

void TeamDatabaseWatch::Tick() {
    // A box of the last round may still be open, or a flow writes.
    if (ticking_ || (busy_ && busy_())) return;
    ticking_ = true;
    outbox_.SendWaiting();
    ShowWaiting();
    ticking_ = false;
}

}  // namespace tarnwick::ui
