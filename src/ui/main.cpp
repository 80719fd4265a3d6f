#include <QApplication>

#include "hosts/data_module.h"
#include "hosts/single_instance.h"
#include "protocol/timing.h"
#include "storage/sqlite_database.h"
#include "ui/form_host_list.h"
#include "ui/qt_operator.h"

using namespace tarnwick;

int main(int argc, char** argv) {
    // A second copy ends at once, showing nothing.
    SingleInstanceLock instance(SingleInstanceLock::DefaultPath());
    if (!instance.Acquired()) return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));

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

    hostList.show();
    return app.exec();
}
