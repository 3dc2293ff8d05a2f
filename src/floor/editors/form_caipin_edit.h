#pragma once

// The dish editor "添加菜品" / "编辑菜品": name, price, category and sort
// number of one dish with its specification rows. The dish list opens it for
// a new dish (editid 0) or for one of its rows; it stays open after a save,
// and a second save updates what the first one stored.

#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollArea;
class TSQLiteDatabase;
class TSkuControlGroup;
struct TDishInput;

class TForm_caipin_edit : public QWidget {
    Q_OBJECT
public:
    TForm_caipin_edit();
    ~TForm_caipin_edit() override;

    int32_t editid = 0;

    QLineEdit* lab_title = nullptr;
    QLineEdit* lab_price = nullptr;
    QComboBox* com_cid = nullptr;
    QLineEdit* lab_sort = nullptr;
    QPushButton* btnAddSku = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QPushButton* btnAdd = nullptr;

    // Sets editid, prepares the editor from it and shows it centred on
    // centreOn (an editor already shown is prepared again and raised).
    void OpenFor(int32_t id, QWidget* centreOn);

    const std::vector<std::unique_ptr<TSkuControlGroup>>& SkuControls() const {
        return FSkuControls;
    }
    int NextSkuTop() const { return FNextSkuTop; }

    void AddSkuControl(int32_t SkuId, const QString& SkuName, const QString& SkuPrice, bool IsNew);
    void btnAddClick();

    QSize sizeHint() const override;

signals:
    // A save succeeded: the dish list and the ordering screen follow.
    void Saved();

private:
    QWidget* buildHeader();
    void Prepare();
    void LoadCid();
    void ClearForm();
    void LoadDataToForm();
    void ClearSkuControls();
    void LoadSkuData();
    void SkuDeleteButtonClick(QPushButton* button);
    void RearrangeSkuControls();
    TDishInput formInput() const;
    bool ValidateForm();

    std::unique_ptr<TSQLiteDatabase> FDatabase;
    std::vector<std::unique_ptr<TSkuControlGroup>> FSkuControls;
    QWidget* FSkuPanel = nullptr;
    int FNextSkuTop = 10;
};
