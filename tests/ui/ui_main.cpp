// Widget tests share one QApplication on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "install_dirs.h"
#include "ui/accessibility.h"
#include "ui/pictures.h"
#include "ui/translations.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The habits the windows keep go to a folder of the run's own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    tarnwick::ui::InstallAccessibility();
    tarnwick::ui::LoadToolkitTranslations(app);
    SetPictureFolder(QString::fromUtf8(tarnwick::kSourcePictures));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
