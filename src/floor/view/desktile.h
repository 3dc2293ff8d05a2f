#pragma once

// One table on the floor: a framed square filled with the state colour that
// carries the table id (tag) and title (hint, data only, no tooltip).

#include <QGroupBox>

#include <cstdint>

class TDeskTile : public QGroupBox {
    Q_OBJECT
public:
    TDeskTile(QWidget* parent, int32_t tag, const QString& hint);

    int32_t Tag() const { return FTag; }
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& hint) { FHint = hint; }

    QColor FillColor() const;
    void SetFillColor(const QColor& color);

protected:
    // A plain one-pixel frame: the style's group-box frame would tint the fill.
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t FTag;
    QString FHint;
};
