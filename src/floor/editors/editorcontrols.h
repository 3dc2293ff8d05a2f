#pragma once

// What the master-data editors share: a text box with its caption on its left
// at a fixed place, the picker of a category or area, where only a chosen item
// counts, their own connection and how they are opened.

#include "floor/lists/masterdata.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>

class QComboBox;
class TSQLiteDatabase;
class QLineEdit;
class QWidget;

// The box at (left, top) with the given width; the caption ends 4 pixels left of it.
QLineEdit* LabeledEdit(QWidget* parent, const QString& name, const QString& caption, int left,
                       int top, int width);

// An editable picker whose typed text never becomes an item.
QComboBox* ClassPicker(QWidget* parent, const QString& name, int left, int top, int width);

// Replaces the items; each carries its id. Nothing is chosen afterwards.
void FillClassPicker(QComboBox* box, const QList<TIdTitle>& items);

// Chooses the item carrying id; none when no item carries it.
void ChooseClass(QComboBox* box, int32_t id);

// The id of the chosen item, 0 when the text is not an item's.
int32_t ChosenClass(const QComboBox* box);

// Refills the picker with every row of table (a category or area table); a
// failed read leaves it empty and tells failure followed by the error on
// editor. Without a connection the picker is left empty.
void LoadClassPicker(QComboBox* box, TSQLiteDatabase* db, const QString& table,
                     const QString& failure, QWidget* editor);

// The editor's own connection to the database file; when it cannot be opened
// the editor says so and closes, and nullptr comes back.
std::unique_ptr<TSQLiteDatabase> OpenEditorDatabase(QWidget* editor);

// Shows the (already prepared) editor centred on centreOn, or brings it to
// the front when it is shown already.
void ShowEditor(QWidget* editor, QWidget* centreOn);
