// Widget tests share one QApplication on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/title_strip.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InitUiResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
