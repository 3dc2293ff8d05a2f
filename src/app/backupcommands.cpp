#include "app/backupcommands.h"

#include "app/startup/workfolder.h"
#include "backup/backuppicker.h"
#include "backup/backupservice.h"
#include "backup/backupsettings.h"
#include "billing/printing/form_setting.h"
#include "common/appvalues.h"
#include "common/clock.h"
#include "common/messages.h"
#include "common/ui/laymsg.h"
#include "common/ui/showcentred.h"

#include <QFile>
#include <QPointer>
#include <QProgressBar>

#include <memory>

namespace {

QString takenText(const QString& copy) {
    for (const TBackupCopy& c : ListBackups(softpath + BackupFolderName()))
        if (c.Path == copy)
            return c.Taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return copy;
}

// The current data is kept as a copy first; without it nothing is replaced.
QString prepareRestore(const QString& copy, const TBackupOptions& options) {
    PrepareRestore(copy, sqlitename);
    const TBackupOutcome kept = RunBackup(sqlitename, softpath, QString(), zclock::Now(), options);
    if (!kept.Error.isEmpty()) {
        QFile::remove(PendingRestoreName(sqlitename));
        return QStringLiteral("当前数据未能备份，已取消恢复: ") + kept.Error;
    }
    return QString();
}

void restoreChosen(TForm_setting* setting, const QString& copy) {
    TBackupService* service = ActiveBackups();
    if (!service)
        return;
    const bool started = service->Run(
        [copy] { return CheckCopy(copy); },
        [setting, copy, service](const QString& problem) {
            if (!problem.isEmpty()) {
                Messages().Info(MessageCaption(), QStringLiteral("该备份无法使用: ") + problem);
                return;
            }
            if (!Messages().OkCancel(
                    MessageCaption(),
                    QStringLiteral("确定用 %1 的备份恢复数据吗？\n当前数据会另存为一份备份，"
                                   "恢复后程序将重新启动。")
                        .arg(takenText(copy)))) {
                laymsg(QStringLiteral("您取消了操作"), 0, setting);
                return;
            }
            // Until the program restarts nothing may be written: an order
            // taken now would be in neither the kept copy nor the restored file.
            QProgressBar* bar = nullptr;
            QPointer<QWidget> wait =
                NewBackupProgressWindow(QStringLiteral("正在保存当前数据并准备恢复，请稍候…"), bar);
            bar->setRange(0, 0);
            wait->setWindowModality(Qt::ApplicationModal);
            ShowCentred(wait, setting);
            const TBackupOptions options = service->Options;
            const bool preparing = service->Run(
                [copy, options] { return prepareRestore(copy, options); },
                [wait](const QString& error) {
                    if (error.isEmpty())
                        RestartProgram();
                    delete wait.data();
                    if (!error.isEmpty())
                        Messages().Info(MessageCaption(), QStringLiteral("恢复失败: ") + error);
                },
                setting);
            if (!preparing) {
                delete wait.data();
                laymsg(QStringLiteral("备份进行中，请稍候"), 0, setting);
            }
        },
        setting);
    if (!started)
        laymsg(QStringLiteral("备份进行中，请稍候"), 0, setting);
}

void showPicker(TForm_setting* setting) {
    if (ActiveBackups() && ActiveBackups()->Running()) {
        laymsg(QStringLiteral("备份进行中，请稍候"), 0, setting);
        return;
    }
    auto* picker = setting->findChild<TForm_backup_restore*>();
    if (!picker) {
        picker = new TForm_backup_restore(setting);
        QObject::connect(picker, &TForm_backup_restore::Chosen, setting,
                         [setting](const QString& copy) { restoreChosen(setting, copy); });
    }
    picker->Load(softpath + BackupFolderName());
    ShowCentred(picker, setting);
}

} // namespace

void WireBackupCommands(TForm_setting& setting) {
    TForm_setting* form = &setting;
    setting.BackupGroup->BackupNow = [form] {
        TBackupService* service = ActiveBackups();
        if (!service)
            return;
        if (service->Running())
            laymsg(QStringLiteral("备份进行中，请稍候"), 0, form);
        else if (!service->Start(form))
            laymsg(QStringLiteral("还没有数据库文件，无需备份"), 0, form);
    };
    setting.BackupGroup->Restore = [form] {
        showPicker(form);
    };
}

void RestartProgram() {
    if (TBackupService* service = ActiveBackups())
        service->SkipClosingBackup();
    if (!StartupSeams().Launch(softpath + ExecutableName(), softpath))
        Messages().Info(
            MessageCaption(),
            QStringLiteral("程序无法自动重新启动，请手动启动，恢复的数据将在启动时生效"));
    StartupSeams().RequestQuit();
}
