#pragma once

// The group "营业统计" of the settings screen: the hour a business day starts
// ([Report] daystart of config.ini), saved as soon as one is picked.

#include <QGroupBox>

class QComboBox;

class TReportGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TReportGroup(QWidget* parent = nullptr);

    // Shows the hour of config.ini.
    void Load();

    QComboBox* box_daystart = nullptr;

private:
    void save(int hour);
    int FSaved = 0;
};
