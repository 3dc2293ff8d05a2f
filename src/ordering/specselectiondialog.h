#pragma once

// The modal dialog of a dish sold in specifications: one row per
// specification with its price and its own "-", count and "+". Every press
// sets that specification's basket line at once through the ordering screen;
// "确定" and "取消" only close the dialog.

#include <QtGlobal>

#include <cstdint>
#include <memory>

class QDialog;
class QPushButton;
class QWidget;
class TDishItem;
class TForm_diancan;

class TSpecSelectionDialog {
public:
    // Nothing is shown yet. The dish must outlive the dialog.
    TSpecSelectionDialog(TForm_diancan* AOwner, const TDishItem* ADishItem);
    TSpecSelectionDialog(const TSpecSelectionDialog&) = delete;
    TSpecSelectionDialog& operator=(const TSpecSelectionDialog&) = delete;

    // Builds the dialog, runs it modally and frees it; true when closed with "确定".
    bool Execute();
    // The dialog window, built and not shown, owned by the caller.
    std::unique_ptr<QDialog> CreateDialogForm();
    // One row per specification, 45 pixels apart, in Form.
    void CreateSpecControls(QWidget* Form);
    // One press of a row's "-" or "+".
    void QuantityButtonClick(QPushButton* Sender);

    // The last specification changed (-1 before any press) and its count.
    int32_t SelectedSpecIndex() const { return FSelectedSpecIndex; }
    double SelectedQuantity() const { return FSelectedQuantity; }

    static int32_t DialogHeight(qsizetype SpecCount) { return int32_t(SpecCount) * 50 + 150; }

private:
    TForm_diancan* FOwner;
    const TDishItem* FDishItem;
    int32_t FSelectedSpecIndex = -1;
    double FSelectedQuantity = 0;
};
