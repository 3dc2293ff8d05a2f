#pragma once

// "营业统计": the business summary of a period chosen by two dates or a quick
// choice, as figures, the ten best dishes twice over and two charts, with
// "打印日报" and "导出表格". Every showing starts at today with the day start of
// config.ini, so new settlements show; a changed date reads the period anew.

#include "report/businessreport.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QDateEdit;
class QGridLayout;
class QLabel;
class QPushButton;
class QTreeWidget;
class THoursChart;
class TDaysChart;

class TForm_report : public QWidget {
    Q_OBJECT
public:
    TForm_report();

    QDateEdit* date_first = nullptr;
    QDateEdit* date_last = nullptr;
    QPushButton* btn_today = nullptr;
    QPushButton* btn_yesterday = nullptr;
    QPushButton* btn_week = nullptr;
    QPushButton* btn_month = nullptr;
    QPushButton* btn_lastmonth = nullptr;
    QPushButton* btn_print = nullptr;
    QPushButton* btn_export = nullptr;
    QLabel* lab_daystart = nullptr;

    QLabel* lab_orders = nullptr;
    QLabel* lab_guests = nullptr;
    QLabel* lab_takings = nullptr;
    QLabel* lab_perorder = nullptr;
    QLabel* lab_perguest = nullptr;
    QLabel* lab_returned = nullptr;
    QLabel* lab_deleted = nullptr;
    QTreeWidget* list_topquantity = nullptr;
    QTreeWidget* list_topamount = nullptr;
    THoursChart* chart_hours = nullptr;
    TDaysChart* chart_days = nullptr;

    // The amount label of a payment type ("pay_<code>"), its count of orders
    // beside it ("pay_<code>_n"); code -1 is the "未记录" row ("pay_none"),
    // shown only when an order has a code no payment type has.
    QLabel* PayLabel(int code) const;
    QLabel* PayCountLabel(int code) const;

    // The figures shown; valid only while HasReport().
    const TBusinessReport& Report() const { return FReport; }
    bool HasReport() const { return FHasReport; }

    // Sets both dates to a quick choice at the clock's now, read once.
    void ChooseQuick(TQuickPeriod choice);
    // Reads the period of the two dates and shows it.
    void Refresh();
    // "打印日报" and "导出表格"; each outcome is shown.
    void PrintReport();
    void ExportReport();

    // Asks where to save the table, starting at suggestedPath with `filter`
    // chosen among `filters`; gives the path, empty when cancelled, and sets
    // `filter` to the one chosen. Tests replace it.
    static std::function<QString(QWidget* parent, const QString& suggestedPath,
                                 const QStringList& filters, QString& filter)>
        ChooseFile;

    QSize sizeHint() const override;

signals:
    // After each reading of a period, whether it succeeded or not.
    void Refreshed();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildPeriodBar();
    QWidget* buildFigures();
    QWidget* buildTopLists();
    QLabel* addFigure(QGridLayout* grid, const QString& caption, const char* name);
    void addPayRow(QGridLayout* grid, int code, const QString& caption);
    void dateChanged(bool firstChanged);
    void showFigures(const TBusinessReport& report);
    void clearFigures();

    int FDayStart = 0;
    TBusinessReport FReport;
    bool FHasReport = false;
    QMap<int, QLabel*> FPayAmounts;
    QMap<int, QLabel*> FPayCounts;
    QMap<int, QLabel*> FPayCaptions;
};
