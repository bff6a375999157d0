#pragma once

#include "fc/FCString.h"

#include <vector>

class QComboBox;

// The combo box of a text-input dialog over one input-history slot: the
// slot's entries, oldest first, as its list and a starting edit text. What
// the user types is not added to the list by the combo box itself: the
// history takes it once the dialog accepts it.
namespace HistoryCombo {

void fill(QComboBox* combo, const std::vector<FCString>& entries, const FCString& editText);

} // namespace HistoryCombo
