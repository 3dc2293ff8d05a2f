#include "report/reportsettings.h"

#include "billing/printing/setorloadini.h"
#include "common/ui/laymsg.h"
#include "report/reportconfig.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

TReportGroup::TReportGroup(QWidget* parent) : QGroupBox(QStringLiteral("营业统计"), parent) {
    setObjectName(QStringLiteral("ReportGroup"));
    box_daystart = new QComboBox(this);
    box_daystart->setObjectName(QStringLiteral("box_daystart"));
    for (int hour = 0; hour < 24; ++hour)
        box_daystart->addItem(QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0')));
    box_daystart->setToolTip(QStringLiteral("此时间之前结算的订单计入前一天的营业额"));

    auto* caption = new QLabel(QStringLiteral("营业日开始时间："), this);
    caption->setBuddy(box_daystart);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(box_daystart);
    layout->addStretch();

    // activated comes only from the operator, never from Load.
    connect(box_daystart, &QComboBox::activated, this, [this](int index) { save(index); });
}

void TReportGroup::Load() {
    FSaved = LoadReportDayStart();
    const QSignalBlocker quiet(box_daystart);
    box_daystart->setCurrentIndex(FSaved);
}

void TReportGroup::save(int hour) {
    if (hour == FSaved)
        return;
    try {
        SaveReportDayStart(hour);
    } catch (const EIniError& e) {
        // The box shows what is in effect, not what failed to be saved.
        box_daystart->setCurrentIndex(FSaved);
        laymsg(e.Message(), 0, window());
        return;
    }
    FSaved = hour;
    laymsg(QStringLiteral("保存成功"), 0, window());
}
