#pragma once

// The table editor "添加桌位" / "编辑桌位": name, code, area and sort number of
// one table. A save of a new table reads its id back, so saving again updates
// it.

#include <QWidget>

#include <cstdint>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class TSQLiteDatabase;

class TForm_desk_edit : public QWidget {
    Q_OBJECT
public:
    TForm_desk_edit();
    ~TForm_desk_edit() override;

    int32_t editid = 0;

    QLineEdit* lab_title = nullptr;
    QLineEdit* lab_bh = nullptr;
    QComboBox* com_cid = nullptr;
    QLineEdit* lab_sort = nullptr;
    QPushButton* btnAdd = nullptr;

    // Sets editid, prepares the editor and shows it centred on centreOn (an
    // editor already shown is prepared again and raised).
    void OpenFor(int32_t id, QWidget* centreOn);
    void btnAddClick();

signals:
    // A save succeeded: the table list and the floor follow.
    void Saved();

private:
    void Prepare();
    void LoadCid();
    void ClearForm();
    void LoadDataToForm();

    std::unique_ptr<TSQLiteDatabase> FDatabase;
};
