#include "common/ui/laymsg.h"
#include "common/ui/textwidth.h"
#include "floor/view/form_main.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

std::unique_ptr<QWidget> shownWindow(int width, int height) {
    auto w = std::make_unique<QWidget>();
    w->resize(width, height);
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    return w;
}

TEST(LaymsgTest, PanelIsCentredDarkGreenWithTheMessage) {
    auto w = shownWindow(400, 301);
    const QString msg = QStringLiteral("保存成功");
    laymsg(msg, 3, w.get());

    QLabel* pan = mypan();
    ASSERT_NE(pan, nullptr);
    EXPECT_EQ(pan->parentWidget(), w.get());
    EXPECT_TRUE(pan->isVisible());
    EXPECT_EQ(pan->text(), msg);
    const int width = GetWidthText(msg) + 40;
    const QSize outer = w->frameGeometry().size();
    EXPECT_EQ(pan->geometry(), QRect(int(std::ceil((outer.width() - width) / 2.0)),
                                     int(std::ceil((outer.height() - 40) / 2.0)), width, 40));
    EXPECT_EQ(pan->alignment(), Qt::AlignCenter);
    EXPECT_EQ(pan->palette().color(QPalette::Window), QColor(0x12, 0x3E, 0x1A));
    EXPECT_EQ(pan->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_TRUE(pan->autoFillBackground());
    EXPECT_EQ(pan->grab().toImage().pixelColor(2, 2), QColor(0x12, 0x3E, 0x1A));
    EXPECT_EQ(mymsgtime, 3);
}

// Columns of the panel's picture that hold text (light pixels on dark green).
std::pair<int, int> textColumns(QLabel* pan) {
    const QImage image = pan->grab().toImage();
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y).lightness() > 160) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

TEST(LaymsgTest, MarkupIsShownAsTypedAndFitsTheMeasuredWidth) {
    auto w = shownWindow(600, 300);
    const QString msg = QStringLiteral("<b>桌位01</b> 已保存");
    laymsg(msg, 3, w.get());
    QLabel* pan = mypan();
    ASSERT_NE(pan, nullptr);
    EXPECT_EQ(pan->textFormat(), Qt::PlainText);
    EXPECT_EQ(pan->width(), GetWidthText(msg) + 40);
    // The drawn text is as wide as the measured one: the tags are drawn, not obeyed.
    const auto [first, last] = textColumns(pan);
    ASSERT_GE(first, 0);
    EXPECT_NEAR(last - first + 1, GetWidthText(msg), 4);
    EXPECT_NEAR(first, 20, 4);
}

TEST(LaymsgTest, CountdownHidesOnTheTickAfterZero) {
    auto w = shownWindow(300, 200);
    laymsg(QStringLiteral("x"), 0, w.get()); // less than 1 means 2
    EXPECT_EQ(mymsgtime, 2);
    laymsgTick();
    laymsgTick();
    EXPECT_EQ(mymsgtime, 0);
    EXPECT_TRUE(mypan()->isVisible());
    laymsgTick();
    EXPECT_FALSE(mypan()->isVisible());

    laymsg(QStringLiteral("y"), -5, w.get());
    EXPECT_EQ(mymsgtime, 2);
    EXPECT_TRUE(mypan()->isVisible());
}

TEST(LaymsgTest, SecondWindowTakesThePanelAndTheNewDuration) {
    auto first = shownWindow(300, 200);
    auto second = shownWindow(500, 400);
    laymsg(QStringLiteral("第一条"), 5, first.get());
    QLabel* pan = mypan();
    laymsg(QStringLiteral("第二条"), 3, second.get());
    EXPECT_EQ(mypan(), pan); // one panel for the whole run
    EXPECT_EQ(pan->parentWidget(), second.get());
    EXPECT_EQ(pan->text(), QStringLiteral("第二条"));
    EXPECT_TRUE(pan->isVisible());
    EXPECT_EQ(mymsgtime, 3);
    EXPECT_EQ(first->findChildren<QLabel*>().size(), 0);
}

TEST(LaymsgTest, PanelGoesWithItsWindowAndComesBackOnTheNextCall) {
    auto gone = shownWindow(300, 200);
    laymsg(QStringLiteral("a"), 1, gone.get());
    ASSERT_NE(mypan(), nullptr);
    gone.reset();
    EXPECT_EQ(mypan(), nullptr);
    laymsgTick(); // a tick with no panel is harmless
    laymsgTick();

    auto other = shownWindow(300, 200);
    laymsg(QStringLiteral("b"), 1, other.get());
    ASSERT_NE(mypan(), nullptr);
    EXPECT_EQ(mypan()->parentWidget(), other.get());
    laymsg(QStringLiteral("c"), 1, nullptr); // no window, nothing to show on
    EXPECT_EQ(mypan()->text(), QStringLiteral("b"));
}

TEST(LaymsgTest, MainWindowTimerCountsDownInRealTime) {
    Tform_main form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_FALSE(form.Timermsg->isActive());
    EXPECT_EQ(form.Timermsg->interval(), 1000);

    // Also shown on another window, the countdown runs on the main window's timer.
    auto other = shownWindow(300, 200);
    QElapsedTimer clock;
    clock.start();
    laymsg(QStringLiteral("已保存"), 1, other.get());
    EXPECT_TRUE(form.Timermsg->isActive());
    EXPECT_TRUE(mypan()->isVisible());
    QTest::qWait(1300);
    if (clock.elapsed() < 1900) {
        EXPECT_TRUE(mypan()->isVisible()); // one tick: 1 -> 0
    }
    EXPECT_TRUE(QTest::qWaitFor([] { return !mypan()->isVisible(); }, 2000));
    EXPECT_FALSE(form.Timermsg->isActive());
}

TEST(LaymsgTest, WithoutMainWindowItsOwnTimerCounts) {
    auto w = shownWindow(300, 200);
    laymsg(QStringLiteral("x"), 1, w.get());
    EXPECT_TRUE(QTest::qWaitFor([] { return !mypan()->isVisible(); }, 4000));
}

} // namespace
