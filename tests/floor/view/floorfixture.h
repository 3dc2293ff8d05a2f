#pragma once

// A folder with its own database, the recording messenger installed and a
// main window whose floor reads that database.

#include "common/messages.h"
#include "floor/view/form_main.h"

#include "tempfolder.h"

#include <QLabel>

#include <memory>

class TDeskTile;

struct TNewDesk {
    QString title;
    QString bh;
    int cid = 0;
    int sort = 0;
    QString stat = QStringLiteral("0");
    double price = 0;
    int nums = 0;
    int deleted = 0;
    int istest = 0;
};

class FloorTest : public TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Inserts a table and returns its id.
    int addDesk(const TNewDesk& desk);
    int addArea(const QString& title, int sort);
    void exec(const QString& sql);

    // A main window whose client area is width x height.
    Tform_main& makeWindow(int width = 1000, int height = 600);

    // The label of tile with the given geometry, or nullptr.
    static QLabel* labelAt(const TDeskTile* tile, const QRect& geometry);
    QList<TDeskTile*> tiles() const;

    TRecordingMessenger messages;
    std::unique_ptr<Tform_main> window;
};
