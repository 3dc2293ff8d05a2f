#include "app/program.h"
#include "app/startup/quitrequest.h"
#include "floor/view/form_main.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(ProgramTest, ClosingTheMainWindowEndsTheLoopWhateverElseIsOpen) {
    auto* app = qApp;
    Tform_main mainWindow;
    QWidget other;
    other.show();
    bool shownInLoop = false;
    QTimer::singleShot(50, [&] {
        shownInLoop = mainWindow.isVisible() && other.isVisible();
        mainWindow.close();
    });
    // A safety net, so a loop that does not end fails instead of hanging.
    bool timedOut = false;
    QTimer::singleShot(5000, [&] {
        timedOut = true;
        QApplication::exit(1);
    });
    EXPECT_EQ(RunMessageLoop(*app, mainWindow), 0);
    EXPECT_TRUE(shownInLoop);
    EXPECT_FALSE(timedOut);
}

TEST(ProgramTest, QuitRequestedDuringStartUpSkipsTheLoop) {
    Tform_main mainWindow;
    RequestAppQuit();
    bool loopRan = false;
    QTimer::singleShot(0, [&] {
        loopRan = true;
        QApplication::exit(1);
    });
    EXPECT_EQ(RunMessageLoop(*qApp, mainWindow), 0);
    EXPECT_FALSE(mainWindow.isVisible());
    EXPECT_FALSE(loopRan);
}

} // namespace
