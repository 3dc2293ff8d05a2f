#pragma once

// The settings screen "系统设置": ticket texts, options, printers and the
// geometry of both ticket kinds. Its fields are the settings in effect: every
// edit goes straight into TicketSettings(), saved or not.

#include <QWidget>

class QCheckBox;
class TBackupGroup;
class TReportGroup;
class QComboBox;
class QLineEdit;
class QPushButton;

class TForm_setting : public QWidget {
    Q_OBJECT
public:
    explicit TForm_setting(QWidget* parent = nullptr);

    // The field bound to a settings key, e.g. "lab_shopname" or "box_xptitle".
    QLineEdit* Edit(const QString& name) const;
    QCheckBox* CheckBox(const QString& name) const;
    QComboBox* box_kd = nullptr;
    QComboBox* box_cd = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    // "立即备份", "从备份恢复" and the second backup folder.
    TBackupGroup* BackupGroup = nullptr;
    // The hour a business day starts.
    TReportGroup* ReportGroup = nullptr;

    // Loads config.ini into the fields and fills the printer pickers.
    void FormCreate();

private:
    void btnAddClick();
    void Button1Click();
    void Button2Click();
    void printSample(const QString& layout, const QString& tid);
    void fillPrinters();
    void showSettings();
    QLineEdit* addEdit(class QFormLayout* form, const QString& name, const QString& caption);
};
