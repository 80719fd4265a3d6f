#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QTemporaryDir>
#include <cstdio>
#include <string_view>

#include "hosts/single_instance.h"
#include "install_dirs.h"
#include "storage/data_locations.h"
#include "ui/accessibility.h"
#include "ui/application.h"
#include "ui/pictures.h"
#include "ui/translations.h"
#include "version.h"

namespace {

constexpr const char* kUsage =
    "Usage: tarnwick [--tour DIR [CODE]]\n"
    "Finds the alarm hosts on the local network and reads, edits and writes their\n"
    "programming (window in Simplified Chinese).\n"
    "  --tour DIR [CODE]  render every window and page to PNG files in DIR, logging\n"
    "                     in to the first host that takes CODE (default 246810), then quit\n"
    "  --version          print the version and exit\n"
    "  --help             print this help and exit\n"
    "See tarnwick(1).\n";

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    // Answered before anything else: without a display and beside a running copy.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            std::printf("tarnwick %s\n", tarnwick::kVersionNumber);
            return 0;
        }
        if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    // A second copy ends at once, showing nothing.
    tarnwick::SingleInstanceLock instance(tarnwick::SingleInstanceLock::DefaultPath());
    if (!instance.MayStart()) return 0;

    QApplication app(argc, argv);
    tarnwick::ui::InstallAccessibility();
    tarnwick::ui::LoadToolkitTranslations(app);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(tarnwick::kApplicationId));
    const tarnwick::DataLocations locations =
        tarnwick::ChooseDataLocations(tarnwick::ThisProgramsInputs());
    SetPictureFolder(QString::fromStdString(locations.pictures));
    if (locations.installed)
        QApplication::setWindowIcon(QIcon::fromTheme(QString::fromUtf8(tarnwick::kApplicationId)));

    // --tour DIR [PASSWORD]: render every window and page to PNG files,
    // unattended from the start.
    const QStringList args = QApplication::arguments();
    const qsizetype tour = args.indexOf(QStringLiteral("--tour"));
    const bool touring = tour >= 0 && tour + 1 < args.size();
    // The tour books sites to show them: it keeps a database of its own, so
    // the operator's book stays as it is.
    QTemporaryDir tourFolder;
    const std::string dbPath = touring && tourFolder.isValid()
                                   ? tourFolder.filePath("db.mdb").toStdString()
                                   : locations.database;
    tarnwick::ui::Application tarnwickApp(dbPath, touring, locations.outbox);
    if (!locations.settingsProblem.empty()) tarnwickApp.Warn(locations.settingsProblem);
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
