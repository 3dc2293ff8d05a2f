#pragma once

// "从备份恢复": the copies of the backup folder, newest first, with the time
// they were taken, their size and the number of orders each holds. "恢复"
// hands the chosen copy on; checking and replacing are the caller's.

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

class TForm_backup_restore : public QWidget {
    Q_OBJECT
public:
    explicit TForm_backup_restore(QWidget* parent = nullptr);

    // Lists the copies of folder; the newest is selected.
    void Load(const QString& folder);
    // The selected copy, empty without one.
    QString Selected() const;

    QTableWidget* list = nullptr;
    QLabel* lab_empty = nullptr;
    QPushButton* btnRestore = nullptr;
    QPushButton* btnCancel = nullptr;

signals:
    void Chosen(const QString& copy);
};

// "12.5 MB", "800 KB": a size as the operator reads it.
QString SizeText(qint64 bytes);
