#include "app/CharacterSelectionModel.h"

#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "fc/FCXListIterator.h"
#include "platform/Sjis.h"
#include "reports/CharacterSelection.h"
#include "ui/UxListViewControl.h"

#include <array>

CharacterSelectionModel::CharacterSelectionModel(const ScriptInfo& record)
{
    load(record);
}

CharacterSelectionModel::~CharacterSelectionModel() = default;

bool CharacterSelectionModel::selectForEntry(ScriptCatalogue& catalogue, int index,
                                             const Dialog& dialog)
{
    if (!catalogue.contains(index))
        return false;
    CharacterSelectionModel model(catalogue.record(index));
    if (!dialog(model))
        return false;
    catalogue.setPrintTargets(index, model.tickedNames());
    return true;
}

bool CharacterSelectionModel::selectForEntries(ScriptCatalogue& catalogue,
                                               std::span<const int> entries, const Dialog& dialog)
{
    ScriptInfo selection;
    if (!CharacterSelection::buildSelection(catalogue, entries, selection))
        return false;
    CharacterSelectionModel model(selection);
    if (dialog(model)) {
        model.apply(selection);
        CharacterSelection::applyToEntries(catalogue, entries, selection);
    }
    return true;
}

const char* CharacterSelectionModel::title()
{
    return Sjis::of("印刷するキャラの選択");
}

void CharacterSelectionModel::defineColumns(UxListViewControl& list)
{
    const std::array<UxListViewControl::ColumnDescriptor, 3> columns{{
        {"", 24},
        {Sjis::of("印刷するキャラ名"), 300},
        {Sjis::of("ワード数"), 64},
    }};
    list.defineColumns(columns);
}

void CharacterSelectionModel::load(const ScriptInfo& record)
{
    m_rows.clear();
    FCXListIterator<FCIdString> walk(record.characters());
    while (const FCIdString* character = walk.next())
        m_rows.push_back(
            {character->toStdString(), character->id(), record.isPrintTarget(character->view())});
}

void CharacterSelectionModel::selectAll()
{
    for (Row& row : m_rows)
        row.ticked = true;
}

void CharacterSelectionModel::clearAll()
{
    for (Row& row : m_rows)
        row.ticked = false;
}

bool CharacterSelectionModel::toggle(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    m_rows[size_t(row)].ticked = !m_rows[size_t(row)].ticked;
    return true;
}

bool CharacterSelectionModel::setTicked(int row, bool ticked)
{
    if (row < 0 || row >= rowCount())
        return false;
    m_rows[size_t(row)].ticked = ticked;
    return true;
}

std::vector<std::string> CharacterSelectionModel::tickedNames() const
{
    std::vector<std::string> names;
    for (const Row& row : m_rows) {
        if (row.ticked)
            names.push_back(row.name);
    }
    return names;
}

void CharacterSelectionModel::apply(ScriptInfo& record) const
{
    record.clearPrintTargets();
    for (const Row& row : m_rows) {
        if (row.ticked)
            record.addPrintTarget(row.name);
    }
}

void CharacterSelectionModel::fillList(UxListViewControl& list) const
{
    for (const Row& row : m_rows) {
        const int at = list.setCell(list.rowCount(), 0, {});
        if (at < 0)
            return;
        list.setCell(at, 1, row.name);
        list.setCell(at, 2, std::to_string(row.wordCount));
        if (row.ticked)
            list.check(at);
        else
            list.uncheck(at);
    }
}

void CharacterSelectionModel::readTicks(const UxListViewControl& list)
{
    for (int row = 0; row < rowCount() && row < list.rowCount(); ++row)
        m_rows[size_t(row)].ticked = list.isChecked(row);
}
