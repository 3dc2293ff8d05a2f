// Developer tool: prepares a working folder with the schema and the
// demonstration rows, as if the offer had been accepted, so the program starts
// straight into a populated floor (used by scripts/screenshot.sh).
//   zeltora_makedemo <folder>

#include "common/clock.h"
#include "common/myfun.h"
#include "store/adddata.h"
#include "store/demodata.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zeltora_makedemo <folder>\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString db = folder + QStringLiteral("/zeltora.db");
    if (!AutoCreateTable(db)) {
        std::fprintf(stderr, "cannot create the schema in %s\n", db.toLocal8Bit().constData());
        return 1;
    }
    const QString result = AddTestData(
        db, [](const QString&) { return true; }, getunittime(zclock::Now()));
    std::printf("%s\n", result.toUtf8().constData());
    return result == QStringLiteral("测试数据添加完成！") ? 0 : 1;
}
