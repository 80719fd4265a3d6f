#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "hosts/single_instance.h"
#include "ui/application.h"
#include "ui/title_strip.h"

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    // A second copy ends at once, showing nothing.
    tarnwick::SingleInstanceLock instance(tarnwick::SingleInstanceLock::DefaultPath());
    if (!instance.MayStart()) return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    InitUiResources();

    // --tour DIR [PASSWORD]: render every window and page to PNG files,
    // unattended from the start.
    const QStringList args = QApplication::arguments();
    const qsizetype tour = args.indexOf(QStringLiteral("--tour"));
    const bool touring = tour >= 0 && tour + 1 < args.size();
    // The tour books sites and saves a page: it keeps a database of its own,
    // so the operator's book and operation log stay as they are.
    QTemporaryDir tourFolder;
    const std::string dbPath =
        touring && tourFolder.isValid() ? tourFolder.filePath("db.mdb").toStdString() : "db.mdb";
    tarnwick::ui::Application tarnwickApp(dbPath, touring);
    if (!instance.Problem().empty())
        tarnwickApp.Trace("单实例锁文件无法建立（" + instance.Problem() +
                          "），程序照常启动，可能同时运行第二个副本。");
    if (touring) {
        const std::string password =
            tour + 2 < args.size() ? args.at(tour + 2).toStdString() : std::string("246810");
        tarnwickApp.Tour(args.at(tour + 1), password);
    }
    tarnwickApp.Show();
    // TARNWICK_TIMINGS=1: how long the start took until the host list showed.
    if (qEnvironmentVariableIsSet("TARNWICK_TIMINGS"))
        std::fprintf(stderr, "start to host list shown: %lld ms\n",
                     static_cast<long long>(sinceStart.elapsed()));
    return app.exec();
}
