#pragma once

#include <QLabel>

// A one-line label that draws its text cut with "…" when it does not fit;
// text() and the accessible name keep the whole text. The last TailLength
// characters (a basket line's quantity and amount, say) are never cut: the
// part before them is.
class TElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    void SetTailLength(qsizetype TailLength);
    // The text as drawn at the current width.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qsizetype FTailLength = 0;
};
