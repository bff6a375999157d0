#include "document/ScriptCatalogue.h"

#include "platform/Sjis.h"

#include <array>
#include <charconv>
#include <string>

ScriptCatalogue::ScriptCatalogue() = default;

ScriptCatalogue::~ScriptCatalogue()
{
    clear();
}

void ScriptCatalogue::defineColumns(UxListViewControl& list)
{
    const std::array<UxListViewControl::ColumnDescriptor, ColumnCount> columns{{
        {"", 24},
        {Sjis::of("情報"), 42},
        {Sjis::of("シナリオ名"), 160},
        {Sjis::of("登場キャラ"), 200},
        {Sjis::of("抑制キャラ"), 200},
        {"", 0},
    }};
    list.defineColumns(columns);
}

ScriptInfo* ScriptCatalogue::recordOfRow(const UxListViewControl& list, int row) const
{
    const UxListViewControl::Cell* cell = list.cell(row, ColumnKey);
    if (!cell || cell->text.empty())
        return nullptr;
    const char* first = cell->text.data();
    const char* last = first + cell->text.size();
    int64_t key = 0;
    const auto [end, error] = std::from_chars(first, last, key);
    if (error != std::errc() || end != last || key < m_firstKey)
        return nullptr;
    const uint64_t index = uint64_t(key - m_firstKey);
    if (index >= m_byKey.size())
        return nullptr;
    return m_byKey[size_t(index)];
}

void ScriptCatalogue::clear()
{
    m_byKey.clear();
    m_records.removeAll();
    m_firstKey = m_nextKey;
}

int64_t ScriptCatalogue::add(ScriptInfo* record)
{
    m_records.append(record, true);
    m_byKey.push_back(record);
    return m_nextKey++;
}

void ScriptCatalogue::appendRow(UxListViewControl& list, const FCString& fileName,
                                const FCString& names, const ScriptInfo& record, int64_t key)
{
    const bool speaks = record.characterCount() > 0;
    const UxListViewControl::Colour text = UxListViewControl::DefaultColour;
    const UxListViewControl::Colour background =
        speaks ? UxListViewControl::DefaultColour : NoSpeakerBackground;
    const int row = list.setCell(list.rowCount(), ColumnCheck, {}, text, background);
    if (row < 0)
        return;
    list.setCell(row, ColumnInfo, {}, text, background);
    list.setCell(row, ColumnFileName, fileName.view(), text, background);
    list.setCell(row, ColumnCharacters, names.view(), text, background);
    list.setCell(row, ColumnKey, std::to_string(key), text, background);
    if (speaks)
        list.check(row);
    else
        list.uncheck(row);
}
