#pragma once

// One specification row of the dish editor: its name and price boxes with
// their captions and its delete button, placed at one top inside the
// editor's scroll box. Destroying the row removes its controls.

#include <QString>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

class TSkuControlGroup {
public:
    TSkuControlGroup(QWidget* AOwner, int32_t SkuId, const QString& SkuName,
                     const QString& SkuPrice, bool IsNew);
    ~TSkuControlGroup();
    TSkuControlGroup(const TSkuControlGroup&) = delete;
    TSkuControlGroup& operator=(const TSkuControlGroup&) = delete;

    void SetTop(int top);
    int Top() const;

    int32_t SkuId = 0;
    QLineEdit* NameEdit = nullptr;
    QLineEdit* PriceEdit = nullptr;
    QPushButton* DeleteButton = nullptr;
    bool IsNew = true;
    bool IsDeleted = false;

private:
    QLabel* FNameLabel = nullptr;
    QLabel* FPriceLabel = nullptr;
};
