// The application object's handling of exceptions that leave an event handler.

#include "app/application.h"
#include "store/sqlitedb.h"

#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class ThrowingWidget : public QWidget {
protected:
    void mousePressEvent(QMouseEvent*) override {
        throw ESQLiteException(QStringLiteral("no such table: zel_desk"));
    }
};

class NotifyTest : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::ErrorBox = [this](const QString& message) {
            shown << message;
        };
    }
    void TearDown() override { TApplication::ErrorBox = &ShowUncaughtError; }

    QStringList shown;
};

TEST_F(NotifyTest, ThrowingHandlersAreShownAndTheLoopCarriesOn) {
    bool later = false;
    QTimer::singleShot(0, [] { throw std::runtime_error("数据库已锁定"); });
    QTimer::singleShot(10, [] { throw 42; });
    QTimer::singleShot(30, [&] {
        later = true;
        QApplication::exit(0);
    });
    QTimer::singleShot(5000, [] { QApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(later);
    EXPECT_EQ(shown, QStringList({QStringLiteral("数据库已锁定"), QStringLiteral("未知错误")}));
}

TEST_F(NotifyTest, DatabaseErrorOfAWidgetHandlerEndsOnlyThatHandler) {
    ThrowingWidget w;
    w.resize(50, 50);
    w.show();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    EXPECT_FALSE(QApplication::sendEvent(&w, &press));
    EXPECT_EQ(shown, QStringList({QStringLiteral("no such table: zel_desk")}));
    // The widget still takes events afterwards.
    QEvent hide(QEvent::Hide);
    QApplication::sendEvent(&w, &hide);
    EXPECT_EQ(shown.size(), 1);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
