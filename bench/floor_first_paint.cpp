// Bench-only program for bench_floor: the program's own start-up in the folder
// given on the command line; prints one line when the first table tile is
// painted and then quits.
//   floor_first_paint <working folder>

#include "app/application.h"
#include "app/program.h"
#include "app/startup/workfolder.h"
#include "floor/view/desktile.h"
#include "floor/view/form_main.h"

#include <QDir>
#include <QTimer>

#include <cstdio>

namespace {

class TFirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!FSeen && event->type() == QEvent::Paint && qobject_cast<TDeskTile*>(watched)) {
            FSeen = true;
            // The tile paints once this handler returns; report right after it.
            QTimer::singleShot(0, [] {
                std::fputs("painted\n", stdout);
                std::fflush(stdout);
                QApplication::quit();
            });
        }
        return false;
    }

private:
    bool FSeen = false;
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: floor_first_paint <folder>\n");
        return 2;
    }
    TApplication app(argc, argv);
    InitProgram();
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    StartupSeams().ApplicationFolder = [folder] {
        return folder;
    };
    TFirstPaint watch;
    app.installEventFilter(&watch);
    const auto mainWindow = CreateMainWindow();
    return RunMessageLoop(app, *mainWindow);
}
