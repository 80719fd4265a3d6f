// Widget tests share one QApplication on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "install_dirs.h"
#include "ui/pictures.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetPictureFolder(QString::fromUtf8(tarnwick::kSourcePictures));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
