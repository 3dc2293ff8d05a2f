#include "report/reportcharts.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QPointF>
#include <QResizeEvent>
#include <QValueAxis>

#include <algorithm>

namespace {

constexpr int kMaxDayLabels = 8;
// What the yuan axis and the margins take of a chart's width.
constexpr int kYAxisRoom = 80;

QChart* plainChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    return chart;
}

QValueAxis* yuanAxis(QChart* chart) {
    auto* axis = new QValueAxis;
    axis->setLabelFormat(QStringLiteral("%.0f"));
    axis->setTitleText(QStringLiteral("元"));
    chart->addAxis(axis, Qt::AlignLeft);
    return axis;
}

// Ten yuan at least, so an empty period still draws a readable scale.
void fitYuan(QValueAxis* axis, int64_t maxCents) {
    axis->setRange(0, std::max(10.0, maxCents / 100.0 * 1.05));
    axis->applyNiceNumbers();
}

// Labels stand at the values they name (a bar or a point each), in a small
// face so more of them fit.
QCategoryAxis* labelAxis(QChart* chart) {
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setStartValue(-1);
    QFont small = axis->labelsFont();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    axis->setLabelsFont(small);
    chart->addAxis(axis, Qt::AlignBottom);
    return axis;
}

void setupView(QChartView* view, const char* name) {
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(380, 230);
}

} // namespace

THoursChart::THoursChart(QWidget* parent) : QChartView(parent) {
    QChart* chart = plainChart(QStringLiteral("分时营业额"));
    FBars = new QBarSet(QStringLiteral("营业额"));
    FBars->setColor(QColor(0x2D, 0x8C, 0xF0));
    FBars->append(QList<qreal>(24, 0.0));
    auto* series = new QBarSeries;
    series->setBarWidth(0.7);
    series->append(FBars);
    chart->addSeries(series);
    // Bars stand at 0..23 on a value axis, so the hours can be labelled
    // sparsely where the chart is narrow instead of all cut to "…".
    FHours = labelAxis(chart);
    FHours->setRange(-0.5, 23.5);
    FHours->setGridLineVisible(false);
    FHours->setTitleText(QStringLiteral("时"));
    series->attachAxis(FHours);
    FYuan = yuanAxis(chart);
    series->attachAxis(FYuan);
    setChart(chart);
    setupView(this, "chart_hours");
    SetData({}, 0);
}

void THoursChart::SetData(const std::array<int64_t, 24>& hourCents, int dayStart) {
    if (dayStart != FDayStart) {
        FHourNames.clear();
        for (int i = 0; i < 24; ++i)
            FHourNames << QString::number((dayStart + i) % 24);
        FDayStart = dayStart;
        FLabelStep = 0;
        labelHours();
    }
    int64_t top = 0;
    for (int i = 0; i < 24; ++i) {
        const int64_t cents = hourCents[(dayStart + i) % 24];
        top = std::max(top, cents);
        FBars->replace(i, cents / 100.0);
    }
    fitYuan(FYuan, top);
}

void THoursChart::labelHours() {
    // Every hour when there is room, else every second, third or fourth.
    const QFontMetrics metrics(FHours->labelsFont());
    const int room = std::max(1, (width() - kYAxisRoom) / 24);
    const int needed = metrics.horizontalAdvance(QStringLiteral("23")) + 6;
    int step = 1;
    while (step < 4 && step * room < needed)
        ++step;
    if (step == FLabelStep || FHourNames.isEmpty())
        return;
    FLabelStep = step;
    for (const QString& label : FHours->categoriesLabels())
        FHours->remove(label);
    for (int i = 0; i < 24; i += step)
        FHours->append(FHourNames[i], i);
}

void THoursChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    labelHours();
}

QStringList THoursChart::HourLabels() const {
    return FHours->categoriesLabels();
}

TDaysChart::TDaysChart(QWidget* parent) : QChartView(parent) {
    QChart* chart = plainChart(QStringLiteral("每日营业额"));
    FLine = new QLineSeries;
    FLine->setColor(QColor(0xE6, 0x7E, 0x22));
    FLine->setPointsVisible(true);
    QPen pen = FLine->pen();
    pen.setWidth(2);
    FLine->setPen(pen);
    chart->addSeries(FLine);
    FDays = labelAxis(chart);
    FLine->attachAxis(FDays);
    FYuan = yuanAxis(chart);
    FLine->attachAxis(FYuan);
    setChart(chart);
    setupView(this, "chart_days");
    SetData(QDate(), {});
}

void TDaysChart::SetData(const QDate& first, const QList<int64_t>& dayCents) {
    QList<QPointF> points;
    points.reserve(dayCents.size());
    int64_t top = 0;
    for (int i = 0; i < dayCents.size(); ++i) {
        points << QPointF(i, dayCents[i] / 100.0);
        top = std::max(top, dayCents[i]);
    }
    FLine->replace(points);

    for (const QString& label : FDays->categoriesLabels())
        FDays->remove(label);
    const int days = int(dayCents.size());
    // At most eight dates, evenly spaced, so they never run into each other.
    const int step = std::max(1, (days + kMaxDayLabels - 1) / kMaxDayLabels);
    if (first.isValid())
        for (int i = 0; i < days; i += step)
            FDays->append(first.addDays(i).toString(QStringLiteral("MM-dd")), i);
    FDays->setRange(-0.4, std::max(0, days - 1) + 0.4);
    fitYuan(FYuan, top);
}

QStringList TDaysChart::DayLabels() const {
    return FDays->categoriesLabels();
}
