#pragma once

// Controls the master-data editors share: a text box with its caption on its
// left at a fixed place, and the picker of a category or area, where only a
// chosen item counts.

#include "floor/masterdata.h"

#include <QList>
#include <QString>

#include <cstdint>

class QComboBox;
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
