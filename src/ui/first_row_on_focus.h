#pragma once

#include <QAbstractItemView>

namespace velmor::ui {

// A list that gets the keyboard focus without a current row makes its first row current (and
// selected); in a list whose rows came after the focus, with none chosen, the first Down or Up
// chooses the first row. Either way the second row is reached only after the first.
void MakeFirstRowCurrentOnFocus(QAbstractItemView* list);

}  // namespace velmor::ui
