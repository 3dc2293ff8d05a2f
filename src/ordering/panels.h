#pragma once

// Small widget helpers of the ordering screen: colours and fonts set in one
// call, a panel whose children keep their distance to its right edge, a label
// that cuts its text with an ellipsis, and a label that is a button.

#include "common/ui/elidedlabel.h"

#include <QAbstractButton>
#include <QLabel>
#include <QList>
#include <QPointer>
#include <QWidget>

class QColor;

// Fills w with colour (its own background).
void SetBackground(QWidget* w, const QColor& colour);
void SetTextColour(QWidget* w, const QColor& colour);
// Point size, and bold when asked; the family stays the inherited one.
void SetFontStyle(QWidget* w, int pointSize, bool bold = false);

// Children registered with AnchorRight follow the panel's right edge when it
// resizes, as rows of a list follow the list's width.
class TAnchorPanel : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Keeps child's current distance to the right edge; with Stretch the left
    // edge stays too, so the child's width follows the panel's.
    void AnchorRight(QWidget* child, bool Stretch);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct TAnchor {
        QPointer<QWidget> child;
        int gap = 0;
        bool stretch = false;
    };
    QList<TAnchor> FAnchors;
};

// A text on its own background, sized to the text, that is pressed like a
// button (mouse, Space, accessibility): the entries of the category bar.
class TLabelButton : public QAbstractButton {
    Q_OBJECT
public:
    TLabelButton(const QString& text, QWidget* parent);

    QSize sizeHint() const override;
    // Fits the width and height to the text in the current font.
    void FitToText();

protected:
    void paintEvent(QPaintEvent* event) override;
};
