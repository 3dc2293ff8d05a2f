#include "backup/backupsettings.h"

#include "backup/backupconfig.h"
#include "billing/printing/setorloadini.h"
#include "common/ui/laymsg.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

std::function<QString(QWidget*, const QString&)> TBackupGroup::ChooseFolder =
    [](QWidget* parent, const QString& current) {
        return QFileDialog::getExistingDirectory(parent, QStringLiteral("选择第二备份目录"),
                                                 current);
    };

TBackupGroup::TBackupGroup(QWidget* parent) : QGroupBox(QStringLiteral("数据备份"), parent) {
    setObjectName(QStringLiteral("BackupGroup"));
    lab_dir2 = new QLineEdit(this);
    lab_dir2->setObjectName(QStringLiteral("lab_dir2"));
    lab_dir2->setPlaceholderText(QStringLiteral("U盘或网络共享目录，可不填"));
    btn_dir2 = new QPushButton(QStringLiteral("选择目录"), this);
    btn_dir2->setObjectName(QStringLiteral("btn_dir2"));
    btn_backup = new QPushButton(QStringLiteral("立即备份"), this);
    btn_backup->setObjectName(QStringLiteral("btn_backup"));
    btn_restore = new QPushButton(QStringLiteral("从备份恢复"), this);
    btn_restore->setObjectName(QStringLiteral("btn_restore"));

    auto* folderRow = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("第二备份目录："), this);
    caption->setBuddy(lab_dir2);
    folderRow->addWidget(caption);
    folderRow->addWidget(lab_dir2, 1);
    folderRow->addWidget(btn_dir2);
    // One row: the screen is short on a small till.
    setToolTip(QStringLiteral("每天首次启动和关闭程序时自动备份到 backup 目录，保留最近30份"));
    folderRow->addWidget(btn_backup);
    folderRow->addWidget(btn_restore);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(folderRow);

    connect(btn_dir2, &QPushButton::clicked, this, [this] {
        const QString dir = ChooseFolder(window(), lab_dir2->text());
        if (dir.isEmpty())
            return;
        lab_dir2->setText(dir);
        save(dir);
    });
    connect(lab_dir2, &QLineEdit::editingFinished, this, [this] { save(lab_dir2->text()); });
    connect(btn_backup, &QPushButton::clicked, this, [this] {
        if (BackupNow)
            BackupNow();
    });
    connect(btn_restore, &QPushButton::clicked, this, [this] {
        if (Restore)
            Restore();
    });
}

void TBackupGroup::Load() {
    FSaved = LoadBackupDir2();
    lab_dir2->setText(FSaved);
}

void TBackupGroup::save(const QString& dir) {
    if (dir.trimmed() == FSaved)
        return;
    try {
        SaveBackupDir2(dir);
    } catch (const EIniError& e) {
        laymsg(e.Message(), 0, window());
        return;
    }
    FSaved = dir.trimmed();
    laymsg(QStringLiteral("保存成功"), 0, window());
}
