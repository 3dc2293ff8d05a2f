#include "floorfixture.h"

#include "common/appvalues.h"
#include "floor/view/desktile.h"
#include "store/SQLiteORM.h"
#include "store/adddata.h"
#include "store/sqlitedb.h"

#include <QMenuBar>

void FloorTest::SetUp() {
    TempFolderTest::SetUp();
    softpath = folder();
    sqlitename = dbPath();
    ASSERT_TRUE(AutoCreateTable(sqlitename));
    SetMessenger(&messages);
}

void FloorTest::TearDown() {
    window.reset();
    SetMessenger(nullptr);
}

int FloorTest::addDesk(const TNewDesk& desk) {
    TSQLiteDatabase db(sqlitename);
    TSQLiteORM orm(&db, QStringLiteral("zel_desk"));
    const int64_t id = orm.AddAndGetID({{QStringLiteral("title"), desk.title},
                                        {QStringLiteral("bh"), desk.bh},
                                        {QStringLiteral("cid"), desk.cid},
                                        {QStringLiteral("sort"), desk.sort},
                                        {QStringLiteral("stat"), desk.stat},
                                        {QStringLiteral("price"), desk.price},
                                        {QStringLiteral("nums"), desk.nums},
                                        {QStringLiteral("deleted"), desk.deleted},
                                        {QStringLiteral("istest"), desk.istest}});
    EXPECT_GT(id, 0) << orm.LastError().toStdString();
    return int(id);
}

int FloorTest::addArea(const QString& title, int sort) {
    TSQLiteDatabase db(sqlitename);
    TSQLiteORM orm(&db, QStringLiteral("zel_desk_class"));
    const int64_t id =
        orm.AddAndGetID({{QStringLiteral("title"), title}, {QStringLiteral("sort"), sort}});
    EXPECT_GT(id, 0);
    return int(id);
}

void FloorTest::exec(const QString& sql) {
    TSQLiteDatabase db(sqlitename);
    db.ExecSQL(sql);
}

Tform_main& FloorTest::makeWindow(int width, int height) {
    window = std::make_unique<Tform_main>();
    window->resize(width, height + window->menuBar()->sizeHint().height());
    return *window;
}

QLabel* FloorTest::labelAt(const TDeskTile* tile, const QRect& geometry) {
    for (QLabel* label : tile->findChildren<QLabel*>())
        if (label->geometry() == geometry)
            return label;
    return nullptr;
}

QList<TDeskTile*> FloorTest::tiles() const {
    if (!window || !window->TileArea() || !window->TileArea()->widget())
        return {};
    return window->TileArea()->widget()->findChildren<TDeskTile*>();
}
