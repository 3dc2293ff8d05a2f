#pragma once

// The two pictures of the business summary. Each view builds its chart, series
// and axes once; a refresh only replaces their values, so choosing another
// period costs no new chart objects.

#include <QChartView>
#include <QDate>
#include <QList>
#include <QStringList>

#include <array>
#include <cstdint>

class QBarSet;
class QCategoryAxis;
class QLineSeries;
class QValueAxis;

// "分时营业额": takings by the hour of the clock, as bars in yuan, the hours
// in the order of a business day (from its start hour round to the hour
// before it).
class THoursChart : public QChartView {
    Q_OBJECT
public:
    explicit THoursChart(QWidget* parent = nullptr);

    // hourCents indexed by clock hour.
    void SetData(const std::array<int64_t, 24>& hourCents, int dayStart);

    QBarSet* Bars() const { return FBars; }
    // The hour of each bar, in drawing order.
    QStringList Hours() const { return FHourNames; }
    // The hours written under the axis; fewer when the chart is narrow.
    QStringList HourLabels() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void labelHours();

    QBarSet* FBars = nullptr;
    QCategoryAxis* FHours = nullptr;
    QValueAxis* FYuan = nullptr;
    QStringList FHourNames;
    int FDayStart = -1;
    int FLabelStep = 0;
};

// "每日营业额": takings of each business day as a line in yuan, one point per
// day at x = days after the first.
class TDaysChart : public QChartView {
    Q_OBJECT
public:
    explicit TDaysChart(QWidget* parent = nullptr);

    void SetData(const QDate& first, const QList<int64_t>& dayCents);

    QLineSeries* Line() const { return FLine; }
    // The dates written under the axis.
    QStringList DayLabels() const;

private:
    QLineSeries* FLine = nullptr;
    QCategoryAxis* FDays = nullptr;
    QValueAxis* FYuan = nullptr;
};
