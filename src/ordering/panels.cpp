#include "ordering/panels.h"

#include <QPainter>
#include <QResizeEvent>

void SetBackground(QWidget* w, const QColor& colour) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

void SetTextColour(QWidget* w, const QColor& colour) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    pal.setColor(QPalette::ButtonText, colour);
    w->setPalette(pal);
}

void SetFontStyle(QWidget* w, int pointSize, bool bold) {
    QFont font = w->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    w->setFont(font);
}

void TAnchorPanel::AnchorRight(QWidget* child, bool Stretch) {
    FAnchors.append({child, width() - child->geometry().x() - child->width(), Stretch});
}

void TAnchorPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (const TAnchor& a : FAnchors) {
        if (!a.child)
            continue;
        QRect r = a.child->geometry();
        if (a.stretch)
            r.setWidth(qMax(0, width() - a.gap - r.x()));
        else
            r.moveLeft(width() - a.gap - r.width());
        a.child->setGeometry(r);
    }
}

TLabelButton::TLabelButton(const QString& text, QWidget* parent) : QAbstractButton(parent) {
    setText(text);
    // Painted like a label: its own background and text colours, not a button's.
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);
}

QSize TLabelButton::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(text()), metrics.height()};
}

void TLabelButton::FitToText() {
    resize(sizeHint());
}

void TLabelButton::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
