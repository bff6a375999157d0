#include "gui/HistoryCombo.h"

#include "gui/QtText.h"

#include <QComboBox>

void HistoryCombo::fill(QComboBox* combo, const std::vector<FCString>& entries,
                        const FCString& editText)
{
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const FCString& entry : entries)
        combo->addItem(fromCp932(entry.view()));
    combo->setCurrentIndex(-1);
    combo->setEditText(fromCp932(editText.view()));
}
