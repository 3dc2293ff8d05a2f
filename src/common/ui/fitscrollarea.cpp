#include "common/ui/fitscrollarea.h"

TFitScrollArea::TFitScrollArea(QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
}

QSize TFitScrollArea::sizeHint() const {
    // QScrollArea caps its hint at a few dozen lines of text.
    const QWidget* content = widget();
    if (!content)
        return QScrollArea::sizeHint();
    const int frame = 2 * frameWidth();
    const QSize wanted = widgetResizable() ? content->sizeHint()
                                                 .expandedTo(content->minimumSizeHint())
                                                 .expandedTo(content->minimumSize())
                                           : content->size();
    return wanted + QSize(frame, frame);
}
