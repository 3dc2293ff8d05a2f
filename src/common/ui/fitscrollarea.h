#pragma once

// A borderless scroll area for content of fixed size: it asks for the whole
// content, so a window with room shows everything, and scrolls only when the
// window had to be made smaller than that to fit the screen.

#include <QScrollArea>

class TFitScrollArea : public QScrollArea {
    Q_OBJECT
public:
    explicit TFitScrollArea(QWidget* parent = nullptr);

    QSize sizeHint() const override;
};
