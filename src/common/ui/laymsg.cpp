#include "common/ui/laymsg.h"

#include "common/ui/textwidth.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include <cmath>

int32_t mymsgtime = 0;

namespace {

QPointer<QLabel> g_pan;
QPointer<QTimer> g_mainTimer;
QPointer<QTimer> g_ownTimer;

constexpr int kPanelHeight = 40;

QLabel* createPanel(QWidget* owner) {
    auto* pan = new QLabel(owner);
    pan->setObjectName(QStringLiteral("mypan"));
    // Dish and table names are shown as typed, and measured as they are shown.
    pan->setTextFormat(Qt::PlainText);
    pan->setAlignment(Qt::AlignCenter);
    pan->setFont(MessageFont());
    pan->setAutoFillBackground(true);
    QPalette pal = pan->palette();
    pal.setColor(QPalette::Window, QColor(0x12, 0x3E, 0x1A));
    pal.setColor(QPalette::WindowText, Qt::white);
    pan->setPalette(pal);
    pan->setContentsMargins(1, 1, 1, 1);
    return pan;
}

QTimer* countdownTimer() {
    if (g_mainTimer)
        return g_mainTimer;
    if (!g_ownTimer && QCoreApplication::instance()) {
        // Parented to the application so it goes before the event loop does.
        g_ownTimer = new QTimer(QCoreApplication::instance());
        g_ownTimer->setInterval(1000);
        QObject::connect(g_ownTimer, &QTimer::timeout, &laymsgTick);
    }
    return g_ownTimer;
}

} // namespace

QLabel* mypan() {
    return g_pan;
}

void laymsg(const QString& msg, int32_t times, QWidget* myform) {
    if (!myform)
        return;
    if (times < 1)
        times = 2;
    const int width = GetWidthText(msg) + 40;
    if (!g_pan)
        g_pan = createPanel(myform);
    if (g_pan->parentWidget() != myform)
        g_pan->setParent(myform);
    g_pan->setText(msg);
    const QSize outer = myform->frameGeometry().size();
    g_pan->setGeometry(int(std::ceil((outer.width() - width) / 2.0)),
                       int(std::ceil((outer.height() - kPanelHeight) / 2.0)), width, kPanelHeight);
    g_pan->raise();
    g_pan->show();
    mymsgtime = times;
    if (QTimer* timer = countdownTimer())
        timer->start();
}

void laymsgTick() {
    if (mymsgtime > 0) {
        --mymsgtime;
        return;
    }
    if (g_mainTimer)
        g_mainTimer->stop();
    if (g_ownTimer)
        g_ownTimer->stop();
    if (g_pan)
        g_pan->hide();
}

void SetMessageTimer(QTimer* timer) {
    g_mainTimer = timer;
    // A countdown already running carries on with the new timer.
    if (timer && g_ownTimer && g_ownTimer->isActive()) {
        g_ownTimer->stop();
        timer->start();
    }
}
