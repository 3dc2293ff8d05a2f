#include "floor/view/form_main.h"

#include "common/appvalues.h"
#include "common/messages.h"
#include "common/myfun.h"
#include "common/ui/laybox.h"
#include "common/ui/laymsg.h"
#include "common/ui/showcentred.h"
#include "common/update/downupdate.h"
#include "common/update/updatevalues.h"
#include "floor/view/mainmenustyle.h"
#include "platform/processes.h"
#include "store/demodata.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

Tform_main* form_main = nullptr;

namespace {

const char* const kTestDataCaption = "删除体验数据";
const QString kUpdater = QStringLiteral("update");

} // namespace

Tform_main::Tform_main(QWidget* parent) : QMainWindow(parent) {
    form_main = this;
    setObjectName(QStringLiteral("form_main"));
    setWindowTitle(QStringLiteral("Ostrelo点餐系统"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    FClient = new QWidget(this);
    FClientLayout = new QVBoxLayout(FClient);
    FClientLayout->setContentsMargins(0, 0, 0, 0);
    FClientLayout->setSpacing(0);
    setCentralWidget(FClient);
    createMenu();

    Timermsg = new QTimer(this);
    Timermsg->setInterval(1000);
    connect(Timermsg, &QTimer::timeout, this, &Tform_main::TimermsgTimer);
    SetMessageTimer(Timermsg);

    TimerResize = new QTimer(this);
    TimerResize->setInterval(100);
    connect(TimerResize, &QTimer::timeout, this, &Tform_main::TimerResizeTimer);

    Timer_update = new QTimer(this);
    Timer_update->setInterval(3000);
    connect(Timer_update, &QTimer::timeout, this, &Tform_main::Timer_updateTimer);

    // The client area below the menu bar is 1293 x 741 when the window first opens.
    resize(1293, 741 + menuBar()->sizeHint().height());
}

Tform_main::~Tform_main() {
    FDestroying = true;
    if (form_main == this)
        form_main = nullptr;
}

void Tform_main::createMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* update = bar->addMenu(QStringLiteral("在线升级"));
    update->menuAction()->setObjectName(QStringLiteral("N1"));
    update->addAction(QStringLiteral("一键在线升级"))->setObjectName(QStringLiteral("N10"));
    update->addAction(QStringLiteral("版本比对"))->setObjectName(QStringLiteral("N11"));
    // Each entry gets its command with the screen it opens.
    const struct {
        const char* name;
        const char* caption;
    } entries[] = {{"N3", "订单管理"}, {"N12", "营业统计"}, {"N9", "菜品管理"},
                   {"N8", "桌位管理"}, {"N7", "系统设置"},  {"N2", "创建桌面快捷访问"},
                   {"N6", "远程协助"}, {"N5", "帮助文档"}};
    for (const auto& entry : entries)
        bar->addAction(QString::fromUtf8(entry.caption))
            ->setObjectName(QString::fromUtf8(entry.name));
}

QAction* Tform_main::MenuAction(const QString& name) const {
    for (QAction* action : menuBar()->findChildren<QAction*>())
        if (action->objectName() == name)
            return action;
    return nullptr;
}

void Tform_main::AddTestDataMenuEntry() {
    if (testnums <= 0 || FTestDataAction)
        return;
    const QString caption = QString::fromUtf8(kTestDataCaption);
    QMenuBar* bar = menuBar();
    bar->setStyle(new TMainMenuStyle(caption, bar));
    FTestDataAction = new QAction(caption, bar);
    FTestDataAction->setObjectName(QStringLiteral("MenuItem1"));
    connect(FTestDataAction, &QAction::triggered, this, &Tform_main::deletetestdata);
    bar->addAction(FTestDataAction);
}

void Tform_main::deletetestdata() {
    if (!Messages().OkCancel(MessageCaption(), QStringLiteral("确认删除体验数据吗")))
        return;
    QString error;
    if (DeleteTestData(sqlitename, error))
        laybox(QStringLiteral("体验数据删除成功"), this);
    else
        laybox(QStringLiteral("体验数据删除失败: ") + error, this);
    // No removed table may keep a clickable tile.
    RefreshAllDesks();
}

void Tform_main::CenterOnScreen() {
    FitOnScreen(this, nullptr);
}

void Tform_main::FormShow() {
    if (FUpdateAnswered)
        UpdaterUpkeep();
}

void Tform_main::UpdateAnswerStored() {
    FUpdateAnswered = true;
    // At once, also before the window is shown: an updater that this run
    // starts afterwards must never be the one the upkeep ends.
    UpdaterUpkeep();
}

// Once per start: a missing or outdated updater is ended and downloaded anew.
void Tform_main::UpdaterUpkeep() {
    if (FUpkeepDone)
        return;
    FUpkeepDone = true;
    // Without the version to check a download against, nothing would be accepted.
    if (isupupdate != 1 || updateversion.isEmpty() ||
        GetVersion(softpath + kUpdater) == updateversion)
        return;
    platform::EndProcess(softpath + kUpdater);
    Timer_update->start();
}

void Tform_main::TimermsgTimer() {
    laymsgTick();
}

void Tform_main::TimerResizeTimer() {
    TimerResize->stop();
    UpdateLayout();
}

void Tform_main::Timer_updateTimer() {
    Timer_update->stop();
    loadtit = QStringLiteral("升级程序");
    downupdate(downupdateurl, softpath + kUpdater, this, {}, updateversion);
}

void Tform_main::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    TimerResize->stop();
    TimerResize->start();
}

void Tform_main::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!FShown && !event->spontaneous()) {
        FShown = true;
        FormShow();
    }
}

void Tform_main::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit Closed();
}
