#pragma once

// Draws one entry of the main menu bar by hand: blue 10-point text 8 pixels in
// from the entry's left edge, on the bar's own background, whether selected or
// not. Every other entry keeps the style's look. The entry stays an ordinary
// QAction, so keyboard navigation and accessibility reach it.

#include <QProxyStyle>

class TMainMenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit TMainMenuStyle(const QString& caption, QObject* parent);

    static constexpr int kTextIndent = 8;
    static constexpr int kPointSize = 10;
    static QColor TextColor() { return QColor(0, 0, 255); }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;

private:
    bool isOwnEntry(const QStyleOption* option) const;
    QFont entryFont(const QWidget* widget) const;

    QString FCaption;
};
