#include "app/supportcommands.h"

#include "common/appvalues.h"
#include "common/messages.h"
#include "common/ui/laybox.h"
#include "common/ui/laymsg.h"
#include "common/update/downupdate.h"
#include "common/update/remotetool.h"
#include "common/update/updateanswer.h"
#include "common/update/updatequery.h"
#include "common/update/updatevalues.h"
#include "floor/view/form_main.h"
#include "platform/desktoplauncher.h"
#include "platform/platform.h"
#include "platform/processes.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString kAssistQuestion =
    QStringLiteral("即将打开远程协助工具吗，等待几秒，程序启动后，请将设备代码和临时密码发给我们");

QString updaterPath() {
    return softpath + QStringLiteral("update");
}

// Starts the updater; false after a box that says why it did not start.
bool startUpdater(Tform_main& form) {
    const QString updater = updaterPath();
    if (!QFileInfo::exists(updater)) {
        laybox(QStringLiteral("升级文件不存在,请确认"), &form);
        return false;
    }
    if (!platform::StartDetached(updater, {}, softpath)) {
        laybox(QStringLiteral("升级程序无法启动,请确认"), &form);
        return false;
    }
    return true;
}

void onUpdateAnswer(Tform_main& form, const TUpdateReply& reply) {
    if (reply.kind != TUpdateReply::TKind::Answered)
        return;
    const auto answer = ParseUpdateAnswer(reply.text);
    if (!answer)
        return;
    StoreUpdateAnswer(*answer);
    // The upkeep ends a running outdated updater, so it goes first.
    form.UpdateAnswerStored();
    if (const auto offer = UpdateOfferText(*answer)) {
        laylongbox(*offer, &form);
        startUpdater(form);
    }
}

void N10Click(Tform_main& form) {
    // The updater being replaced is started only once it is whole.
    if (DownloadRunning(updaterPath())) {
        laymsg(QStringLiteral("升级程序下载中，请稍候"), 0, &form);
        return;
    }
    if (startUpdater(form))
        form.close();
}

void N11Click(Tform_main& form) {
    static bool asking = false;
    if (asking)
        return;
    asking = true;
    laymsg(QStringLiteral("正在获取线上版本信息"), 0, &form);
    RequestUpdateAnswer(UpdateServiceBase(inipath), &form, [](const TUpdateReply& reply) {
        asking = false;
        Messages().Info(MessageCaption(), VersionComparisonBox(reply));
    });
}

void N2Click(Tform_main& form) {
    if (!Messages().OkCancel(MessageCaption(), QStringLiteral("确认需要创建快捷方式到桌面吗")))
        return;
    QString error;
    if (!platform::CreateDesktopLauncher(platform::ExecutablePath(), platform::DesktopFolder(),
                                         error))
        laybox(QStringLiteral("创建快捷方式失败: ") + error, &form);
}

void askAndStart(const QString& tool) {
    if (Messages().OkCancel(MessageCaption(), kAssistQuestion))
        platform::StartDetached(tool);
}

void N6Click(Tform_main& form) {
    const QString installed = FindInstalledTool(RemoteToolPaths());
    if (!installed.isEmpty()) {
        askAndStart(installed);
        return;
    }
    const QString tool = DownloadedToolPath(softpath);
    if (DownloadRunning(tool)) {
        laymsg(QStringLiteral("远程协助工具下载中，请稍候"), 0, &form);
        return;
    }
    if (QFileInfo::exists(tool)) {
        askAndStart(tool);
        return;
    }
    // Without the tool there is nothing to open: a cancelled download ends here.
    if (!Messages().OkCancel(MessageCaption(),
                             QStringLiteral("您还未下载远程协助工具，系统将下载远程协助工具"))) {
        laymsg(QStringLiteral("您取消了操作"), 0, &form);
        return;
    }
    loadtit = QStringLiteral("升级程序");
    // The tool can start only once it is here, so the question waits for it.
    const QString url = DownloadedToolUrl(DownloadServerBase(inipath));
    if (url.isEmpty()) {
        laybox(QStringLiteral("未配置下载服务地址，无法下载远程协助工具"), &form);
        return;
    }
    downupdate(url, tool, &form, [tool](bool ok) {
        if (ok)
            askAndStart(tool);
    });
}

void N5Click() {
    if (IsWebAddress(helpurl))
        QDesktopServices::openUrl(QUrl(helpurl.trimmed()));
}

void wire(Tform_main& form, const char* name, std::function<void()> command) {
    if (QAction* entry = form.MenuAction(QString::fromLatin1(name)))
        QObject::connect(entry, &QAction::triggered, &form, std::move(command));
}

} // namespace

QStringList& RemoteToolPaths() {
    static QStringList paths = ToDeskPaths();
    return paths;
}

void StartUpdateCheck(Tform_main& form) {
    const QString base = UpdateServiceBase(inipath);
    // Without an address there is nothing to ask.
    if (base.isEmpty())
        return;
    RequestUpdateAnswer(base, &form,
                        [&form](const TUpdateReply& reply) { onUpdateAnswer(form, reply); });
}

void WireSupportCommands(Tform_main& form) {
    wire(form, "N10", [&form] { N10Click(form); });
    wire(form, "N11", [&form] { N11Click(form); });
    wire(form, "N2", [&form] { N2Click(form); });
    wire(form, "N6", [&form] { N6Click(form); });
    wire(form, "N5", [] { N5Click(); });
}
