#include "common/ui/closeonescape.h"
#include "common/ui/fitscrollarea.h"
#include "common/ui/showcentred.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

QRect available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

TEST(FittedFrameTest, CentredWhereItFitsAndMovedOrPinnedWhereItDoesNot) {
    const QRect till(0, 0, 1366, 768);
    const QRect belowBar(0, 30, 1366, 738);
    const struct {
        const char* what;
        QSize frame;
        QPoint centre;
        QRect area;
        QRect expected;
    } cases[] = {
        {"fits", {400, 300}, {500, 400}, till, {300, 250, 400, 300}},
        {"centre near the bottom right", {800, 600}, {1300, 700}, till, {566, 168, 800, 600}},
        {"centre near the top left", {800, 600}, {10, 10}, till, {0, 0, 800, 600}},
        {"wider and higher than the area", {1400, 800}, {683, 384}, till, {0, 0, 1400, 800}},
        {"only higher", {600, 900}, {683, 384}, belowBar, {383, 30, 600, 900}},
        {"area below a panel", {1366, 738}, {683, 384}, belowBar, belowBar},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FittedFrame(c.frame, c.centre, c.area), c.expected) << c.what;
}

TEST(FitOnScreenTest, ShrinksToTheScreenAndKeepsTheFrameOnIt) {
    QWidget window;
    window.resize(available().size() + QSize(700, 500));
    FitOnScreen(&window, nullptr);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(available().contains(window.frameGeometry())) << window.frameGeometry().width();
    EXPECT_EQ(window.frameGeometry().size(), available().size());
}

TEST(FitOnScreenTest, CentresOnTheOwnerAsFarAsTheScreenAllows) {
    QWidget owner;
    owner.setGeometry(QRect(available().topLeft(), available().size() / 2));
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));

    QWidget small;
    small.resize(owner.size() / 2);
    FitOnScreen(&small, &owner);
    EXPECT_LE((small.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(),
              4);

    // Centred on the owner it would start left of and above the screen.
    QWidget large;
    large.resize(available().size() - QSize(20, 20));
    FitOnScreen(&large, &owner);
    EXPECT_EQ(large.frameGeometry().topLeft(), available().topLeft());
    EXPECT_TRUE(available().contains(large.frameGeometry()));
}

TEST(FitOnScreenTest, AWindowThatCannotShrinkShowsItsTopLeftCorner) {
    QWidget window;
    window.setMinimumSize(available().size() + QSize(100, 100));
    FitOnScreen(&window, nullptr);
    EXPECT_EQ(window.frameGeometry().topLeft(), available().topLeft());
}

// A window whose content has a fixed size, in a fitting scroll area.
std::unique_ptr<QWidget> scrolledWindow(const QSize& content, QScrollArea** area) {
    auto window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    *area = new TFitScrollArea;
    auto* inner = new QWidget;
    inner->setMinimumSize(content);
    (*area)->setWidget(inner);
    layout->addWidget(*area);
    return window;
}

TEST(FitOnScreenTest, ContentShowsWholeWhenThereIsRoomAndScrollsWhenNot) {
    QScrollArea* area = nullptr;
    // Larger than a plain scroll area asks for, smaller than the screen.
    const QSize roomy = available().size() * 9 / 10;
    auto window = scrolledWindow(roomy, &area);
    ShowCentred(window.get(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_EQ(area->viewport()->size(), roomy);
    EXPECT_FALSE(area->verticalScrollBar()->isVisible());

    const QSize tall(available().width() / 2, available().height() * 3);
    window = scrolledWindow(tall, &area);
    ShowCentred(window.get(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_TRUE(available().contains(window->frameGeometry()));
    EXPECT_TRUE(area->verticalScrollBar()->isVisible());
    EXPECT_EQ(area->verticalScrollBar()->maximum(), tall.height() - area->viewport()->height());
}

TEST(CloseOnEscapeTest, EscapeClosesTheWindowFromAnyField) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    CloseOnEscape(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
