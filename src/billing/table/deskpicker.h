#pragma once

// The picker of the table window's "换桌" and "并台": the tables of the house
// by area, only those that take the move (free ones for a transfer, occupied
// ones for a merge), never the table itself. A click on a table picks it.

#include "billing/table/deskmove.h"

#include <QDialog>
#include <QList>

#include <cstdint>

class QButtonGroup;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QScrollArea;

class TForm_desk_picker : public QDialog {
    Q_OBJECT
public:
    explicit TForm_desk_picker(QWidget* parent = nullptr);

    // Reads areas and tables again and shows the picker over its parent,
    // blocking the whole program, on the area shown last.
    void Open(TDeskMove move, int32_t FromID);

    // Lists the tables of area CategoryID (0: every area).
    void ShowArea(int32_t CategoryID);

    TDeskMove Move() const { return FMove; }
    // The table whose party the pick moves.
    int32_t FromID() const { return FFromID; }
    // The tables listed now, in order, and the button of one of them.
    QList<int32_t> ShownDesks() const;
    QPushButton* DeskButton(int32_t DeskID) const;
    QPushButton* AreaButton(int32_t CategoryID) const;
    QLabel* lab_empty = nullptr;

signals:
    void DeskPicked(TDeskMove move, int32_t DeskID);

private:
    void fillAreas();

    TDeskMove FMove = TDeskMove::Transfer;
    int32_t FFromID = 0;
    int32_t FArea = 0;
    QScrollArea* FAreaScroll = nullptr;
    QHBoxLayout* FAreaRow = nullptr;
    QButtonGroup* FAreas = nullptr;
    QWidget* FGrid = nullptr;
    QGridLayout* FGridLayout = nullptr;
    QScrollArea* FScroll = nullptr;
};
