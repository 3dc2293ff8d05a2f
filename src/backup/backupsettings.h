#pragma once

// The group "数据备份" of the settings screen: the second backup folder
// ([Backup] dir2 of config.ini, saved as soon as it is chosen or typed),
// "立即备份" and "从备份恢复". What the two commands do is wired from outside.

#include <QGroupBox>

#include <functional>

class QLineEdit;
class QPushButton;

class TBackupGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TBackupGroup(QWidget* parent = nullptr);

    // Shows the second folder of config.ini.
    void Load();

    QLineEdit* lab_dir2 = nullptr;
    QPushButton* btn_dir2 = nullptr;
    QPushButton* btn_backup = nullptr;
    QPushButton* btn_restore = nullptr;

    std::function<void()> BackupNow;
    std::function<void()> Restore;

    // Asks for a folder, starting at current; empty when cancelled. Tests replace it.
    static std::function<QString(QWidget* parent, const QString& current)> ChooseFolder;

private:
    void save(const QString& dir);
    QString FSaved;
};
