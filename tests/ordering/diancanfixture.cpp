#include "diancanfixture.h"

#include "common/appvalues.h"
#include "ordering/modalrunner.h"
#include "store/SQLiteORM.h"
#include "store/adddata.h"
#include "store/sqlitedb.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

namespace {

QList<QWidget*> rowsIn(const QScrollArea* box, const QString& name) {
    if (!box->widget())
        return {};
    QList<QWidget*> rows = box->widget()->findChildren<QWidget*>(name, Qt::FindDirectChildrenOnly);
    std::sort(rows.begin(), rows.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    return rows;
}

QStringList labelTexts(const QList<QWidget*>& rows, const QString& name) {
    QStringList out;
    for (QWidget* row : rows)
        out << row->findChild<QLabel*>(name)->text();
    return out;
}

} // namespace

void DiancanTest::SetUp() {
    TempFolderTest::SetUp();
    sqlitename = dbPath();
    ASSERT_TRUE(AutoCreateTable(sqlitename));
    db = std::make_unique<TSQLiteDatabase>(sqlitename);
    SetMessenger(&messages);
    SetModalRunner([this](QDialog& dialog) {
        dialog.show();
        const auto script = std::exchange(FNextDialog, nullptr);
        EXPECT_TRUE(script) << "unexpected dialog " << dialog.windowTitle().toStdString();
        if (script)
            script(dialog);
        return dialog.result();
    });

    TSQLiteORM desks(db.get(), QStringLiteral("zel_desk"));
    desk = int32_t(desks.AddAndGetID({{QStringLiteral("title"), QStringLiteral("一号桌")},
                                      {QStringLiteral("bh"), QStringLiteral("A01")},
                                      {QStringLiteral("nums"), 4},
                                      {QStringLiteral("stat"), QStringLiteral("1")}}));
    TSQLiteORM classes(db.get(), QStringLiteral("zel_caipin_class"));
    const auto addClass = [&](const QString& title, int sort) {
        return int32_t(classes.AddAndGetID(
            {{QStringLiteral("title"), title}, {QStringLiteral("sort"), sort}}));
    };
    // Inserted out of order: the bar follows sort.
    cold = addClass(QStringLiteral("凉菜"), 2);
    hot = addClass(QStringLiteral("热菜"), 1);
    empty = addClass(QStringLiteral("汤类"), 3);

    yuxiang = addDish(QStringLiteral("鱼香肉丝"), 10, hot, 1);
    gongbao = addDish(QStringLiteral("宫保鸡丁"), 5.5, hot, 2);
    shuizhu = addDish(QStringLiteral("水煮鱼"), 48, hot, 3, true);
    huanggua = addDish(QStringLiteral("拍黄瓜"), 8, cold, 4);
    small = addSpec(shuizhu, QStringLiteral("小份"), 38);
    large = addSpec(shuizhu, QStringLiteral("大份"), 58);
}

void DiancanTest::TearDown() {
    screen.reset();
    SetModalRunner({});
    SetMessenger(nullptr);
    db.reset();
}

void DiancanTest::newScreen() {
    screen = std::make_unique<TForm_diancan>();
    QObject::connect(screen.get(), &TForm_diancan::Notified, screen.get(),
                     [this](const QString& note) { notes << note; });
    screen->SetAfterConfirmation([this] { ++confirmations; });
    screen->SetTileRepaint([this](int32_t id, const QString& title, const QString& bh,
                                  const QString& nums, const QString& stat, double price) {
        tiles.append({id, title, bh, nums, stat, price});
    });
}

void DiancanTest::makeScreen(int32_t forDesk) {
    newScreen();
    screen->FormCreate();
    if (forDesk > 0) {
        screen->SetDeskID(forDesk);
        screen->LoadDataToForm();
    }
    screen->show();
    notes.clear();
}

void DiancanTest::onNextDialog(std::function<void(QDialog&)> script) {
    FNextDialog = std::move(script);
}

void DiancanTest::click(QWidget* w) {
    ASSERT_TRUE(w);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    // Rebuilt lists delete their old rows later.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void DiancanTest::clickIn(QDialog& dialog, const QString& name) {
    click(dialog.findChild<QPushButton*>(name));
}

QList<QWidget*> DiancanTest::cartRows() const {
    return rowsIn(screen->FCartScrollBox, QStringLiteral("OrderItemPanel"));
}

QList<QWidget*> DiancanTest::confirmedRows() const {
    return rowsIn(screen->FConfirmedScrollBox, QStringLiteral("ConfirmedItemPanel"));
}

QStringList DiancanTest::cartTexts() const {
    return labelTexts(cartRows(), QStringLiteral("lblOrderText"));
}

QStringList DiancanTest::confirmedTexts() const {
    return labelTexts(confirmedRows(), QStringLiteral("lblConfirmedText"));
}

QString DiancanTest::text(const QString& objectName) const {
    const auto* label = screen->findChild<QLabel*>(objectName);
    return label ? label->text() : QStringLiteral("<no %1>").arg(objectName);
}

void DiancanTest::tick(int index) {
    screen->FPageControl->setCurrentWidget(screen->FTabConfirmed);
    click(confirmedRows().at(index)->findChild<QWidget*>(QStringLiteral("chkSelect")));
}

void DiancanTest::exec(const QString& sql) {
    db->ExecSQL(sql);
}

QString DiancanTest::scalar(const QString& sql) {
    const auto t = db->GetTable(sql);
    return t->RowCount() ? t->FieldAsString(0) : QStringLiteral("<none>");
}

int32_t DiancanTest::addDish(const QString& title, double price, int32_t cid, int32_t sort,
                             bool specs) {
    TSQLiteORM orm(db.get(), QStringLiteral("zel_caipin"));
    return int32_t(orm.AddAndGetID({{QStringLiteral("title"), title},
                                    {QStringLiteral("price"), price},
                                    {QStringLiteral("cid"), cid},
                                    {QStringLiteral("sort"), sort},
                                    {QStringLiteral("issku"), specs ? 1 : 0}}));
}

int32_t DiancanTest::addSpec(int32_t dish, const QString& title, double price) {
    TSQLiteORM orm(db.get(), QStringLiteral("zel_caipin_sku"));
    return int32_t(orm.AddAndGetID({{QStringLiteral("title"), title},
                                    {QStringLiteral("price"), price},
                                    {QStringLiteral("rootid"), dish}}));
}
