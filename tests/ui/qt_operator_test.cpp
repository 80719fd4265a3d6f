#include "ui/qt_operator.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

namespace tarnwick {
namespace {

// Presses `key` on the question box once it is shown; renders the box to
// DIR/`shot`.png first when TARNWICK_SHOT_DIR names a folder.
void PressOnTheBox(int key, const QString& shot) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, key, shot] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        timer->stop();
        timer->deleteLater();
        const QString dir = qEnvironmentVariable("TARNWICK_SHOT_DIR");
        if (!dir.isEmpty()) box->grab().save(dir + "/" + shot + ".png");
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(box, &press);
    });
    timer->start();
}

// A stray Enter, like Escape, answers 否: on a short question's box and on
// the scrolling one of a long question (a restore's list of settings).
TEST(QtOperator, EnterAndEscapeOnAQuestionAnswerNo) {
    ui::QtOperator op;
    for (int lines : {1, 60}) {
        std::string text = "恢复配置到主机？";
        for (int i = 0; i < lines; ++i) text += "\n  防区" + std::to_string(i) + " 防区类型";
        for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
            SCOPED_TRACE(std::to_string(lines) + " lines, key " + std::to_string(key));
            PressOnTheBox(key, QString("question-%1-lines").arg(lines));
            EXPECT_FALSE(op.Ask(text));
        }
    }
}

}  // namespace
}  // namespace tarnwick
