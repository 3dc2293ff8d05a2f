#pragma once

// The main window: menu bar, floor view (area strip and table tiles) and the
// three timers of the program. Other screens repaint single tiles through
// UpdateDeskInfo and rebuild the floor through RefreshAllDesks.

#include <QMainWindow>
#include <QPointer>
#include <QScrollArea>

#include <cstdint>

class QLabel;
class QTimer;
class QVBoxLayout;
class TDeskTile;

class Tform_main : public QMainWindow {
    Q_OBJECT
public:
    explicit Tform_main(QWidget* parent = nullptr);
    ~Tform_main() override;

    // Floor view.
    void CreateCategoryPanel();
    void LoadDesksByCategory(int32_t CategoryID);
    void CategoryButtonClick(QLabel* Sender);
    TDeskTile* CreateDeskGroupBox(QWidget* Parent, int32_t DeskID, const QString& DeskTitle,
                                  const QString& DeskBH, const QString& DeskNums,
                                  const QString& DeskStatus, double DeskPrice, int32_t LeftPos,
                                  int32_t TopPos);
    TDeskTile* FindDeskGroupBox(int32_t DeskID) const;
    void UpdateDeskInfo(int32_t DeskID, const QString& DeskTitle, const QString& DeskBH,
                        const QString& DeskNums, const QString& DeskStatus, double DeskPrice);
    void UpdateDeskPrice(int32_t DeskID, double NewPrice);
    void RefreshDeskByID(int32_t DeskID);
    void RefreshAllDesks();
    // Rebuilds the area strip and the tiles after areas changed, staying on the
    // area shown while it still exists (otherwise on all areas).
    void RebuildCategoryPanel();
    void RefreshCurrentCategory();
    void UpdateLayout();
    void GroupBoxClick(QObject* Sender);

    // Demonstration data: the "删除体验数据" entry (added when testnums > 0) and its command.
    void AddTestDataMenuEntry();
    void deletetestdata();

    // Places the window in the middle of its screen, shrunk to it when larger.
    void CenterOnScreen();

    QScrollArea* CategoryScrollBox() const { return FCategoryScrollBox; }
    QWidget* CategoryPanel() const { return FCategoryPanel; }
    QScrollArea* TileArea() const { return FScrollBox; }
    int32_t CurrentCategoryID() const { return FCurrentCategoryID; }
    // A menu entry by name: N1 (submenu N10, N11), N3, N9, N8, N7, N2, N6, N5, MenuItem1.
    QAction* MenuAction(const QString& name) const;

    // A usable update answer was stored: the updater upkeep runs now (once per
    // start), before anything of the answer is acted on.
    void UpdateAnswerStored();

    QTimer* Timermsg;     // 1000 ms: countdown of the notification panel
    QTimer* TimerResize;  // 100 ms after the last resize: one relayout
    QTimer* Timer_update; // 3000 ms, one-shot: updater download

signals:
    // A tile was clicked; the table window opens for DeskID.
    void DeskClicked(int32_t DeskID);
    // The tile area was rebuilt.
    void FloorRebuilt();
    // The window was closed; the program ends.
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenu();
    void FormShow();
    void TimermsgTimer();
    void TimerResizeTimer();
    void Timer_updateTimer();
    void UpdaterUpkeep();
    int32_t tileAreaWidth();
    void showNoDesks(QScrollArea* box);

    QWidget* FClient;
    QVBoxLayout* FClientLayout;
    QPointer<QScrollArea> FCategoryScrollBox;
    QPointer<QWidget> FCategoryPanel;
    QPointer<QScrollArea> FScrollBox;
    int32_t FCurrentCategoryID = 0;
    QPointer<QAction> FTestDataAction;
    bool FShown = false;
    bool FUpdateAnswered = false;
    bool FUpkeepDone = false;
    bool FDestroying = false;
};

// The one main window of the program; nullptr before it exists and after it is gone.
extern Tform_main* form_main;
