#include <QApplication>
#include <QTimer>

#include "hosts/data_module.h"
#include "hosts/host_search.h"
#include "hosts/single_instance.h"
#include "protocol/timing.h"
#include "storage/sqlite_database.h"
#include "ui/form_host_list.h"
#include "ui/qt_operator.h"
#include "ui/screenshots.h"
#include "ui/title_strip.h"

using namespace tarnwick;

int main(int argc, char** argv) {
    // A second copy ends at once, showing nothing.
    SingleInstanceLock instance(SingleInstanceLock::DefaultPath());
    if (!instance.Acquired()) return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    InitUiResources();

    ui::QtOperator op;
    ui::TFormHostList hostList;

    const std::string dbPath = "db.mdb";
    bool created = false;
    std::string createError;
    try {
        created = EnsureDatabase(dbPath);
    } catch (const std::exception& e) {
        createError = e.what();
    }
    SqliteDatabase db(dbPath);
    SystemClock clock;
    DataModule tdm(op, db, clock, DataModule::UdpEndpoints(op), kHostPort);
    if (created) tdm.trace.Add("数据库文件 db.mdb 不存在，已按初始数据重新建立。");
    std::string loadError = tdm.LoadCodeTables();
    if (!createError.empty() || !loadError.empty())
        op.Error("读取数据库 db.mdb 失败：" + (createError.empty() ? loadError : createError));
    hostList.AttachDataModule(&tdm);
    tdm.listener.SetAnswerNotifier([&hostList, &tdm] {
        // Wake the UI thread so that answers are listed the moment they come.
        QMetaObject::invokeMethod(
            &hostList, [&hostList, &tdm] { DrainSearchAnswers(tdm, hostList.Model()); },
            Qt::QueuedConnection);
    });

    hostList.show();
    // --screenshot DIR: render the windows to PNG files once the first search
    // is over, then quit.
    const QStringList args = QApplication::arguments();
    const qsizetype shot = args.indexOf(QStringLiteral("--screenshot"));
    if (shot >= 0 && shot + 1 < args.size()) {
        const QString dir = args.at(shot + 1);
        QTimer::singleShot(2500, &app, [dir] {
            ui::SaveScreenshots(dir);
            QApplication::quit();
        });
    }
    return app.exec();
}
