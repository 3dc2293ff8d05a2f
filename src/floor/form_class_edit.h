#pragma once

// The twin editors of dish categories and table areas: a name and a sort
// number. TForm_caipin_class_edit and TForm_desk_class_edit only choose the
// kind; everything else is here.

#include "floor/classedit.h"

#include <QWidget>

#include <cstdint>
#include <memory>

class QLineEdit;
class QPushButton;
class TSQLiteDatabase;

class TClassEditForm : public QWidget {
    Q_OBJECT
public:
    ~TClassEditForm() override;

    int32_t editid = 0;

    QLineEdit* lab_title = nullptr;
    QLineEdit* lab_sort = nullptr;
    QPushButton* btnAdd = nullptr;

    TClassKind Kind() const { return FKind; }

    // Sets editid, prepares the editor and shows it centred on centreOn (an
    // editor already shown is prepared again and raised).
    void OpenFor(int32_t id, QWidget* centreOn);
    void btnAddClick();

signals:
    // A save succeeded: the editor's list, and the floor or the ordering
    // screen, follow.
    void Saved();

protected:
    explicit TClassEditForm(TClassKind kind);

private:
    void Prepare();
    QString caption(bool adding) const;

    TClassKind FKind;
    std::unique_ptr<TSQLiteDatabase> FDatabase;
};
