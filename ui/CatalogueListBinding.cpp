#include "ui/CatalogueListBinding.h"

#include "document/ScriptCatalogue.h"
#include "document/ScriptInfo.h"
#include "platform/Sjis.h"

#include <array>

CatalogueListBinding::CatalogueListBinding(ScriptCatalogue& catalogue, UxListViewControl& list)
    : m_catalogue(catalogue), m_list(list)
{
    m_catalogue.addListener(this);
    m_list.setTickHandler(
        [this](int row, bool ticked) { m_catalogue.setTicked(entryOfRow(row), ticked); });
    if (m_catalogue.count() > 0) {
        catalogueCleared();
        entriesAdded(0, m_catalogue.count());
    }
}

CatalogueListBinding::~CatalogueListBinding()
{
    m_list.setTickHandler(nullptr);
    m_catalogue.removeListener(this);
}

void CatalogueListBinding::defineColumns(UxListViewControl& list)
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

int CatalogueListBinding::entryOfRow(int row) const
{
    return row < m_list.rowCount() && m_catalogue.contains(row) ? row : -1;
}

std::vector<int> CatalogueListBinding::selectedEntries() const
{
    std::vector<int> entries;
    for (int row = m_list.nextSelectedRow(-1); row >= 0; row = m_list.nextSelectedRow(row)) {
        const int index = entryOfRow(row);
        if (index >= 0)
            entries.push_back(index);
    }
    return entries;
}

void CatalogueListBinding::loadStarted()
{
    // Thousands of rows arrive one by one: the view repaints once, after.
    m_list.redrawOff();
}

void CatalogueListBinding::loadEnded()
{
    m_list.redrawOn();
}

void CatalogueListBinding::catalogueCleared()
{
    m_list.clear();
    defineColumns(m_list);
}

void CatalogueListBinding::entriesAdded(int first, int count)
{
    for (int index = first; index < first + count; ++index)
        appendRow(index);
}

void CatalogueListBinding::entryChanged(int index, CatalogueChange change)
{
    switch (change) {
    case CatalogueChange::Tick:
        showTick(index);
        break;
    case CatalogueChange::Targets:
        showTargets(index);
        break;
    }
}

void CatalogueListBinding::appendRow(int index)
{
    const ScriptInfo& record = m_catalogue.record(index);
    const bool speaks = record.characterCount() > 0;
    const UxListViewControl::Colour text = UxListViewControl::DefaultColour;
    const UxListViewControl::Colour background =
        speaks ? UxListViewControl::DefaultColour : NoSpeakerBackground;
    // Rows and entries go in step: a row appended anywhere else would no
    // longer show the entry of its index.
    const int row = m_list.setCell(index, ColumnCheck, {}, text, background);
    if (row != index)
        return;
    m_list.setCell(row, ColumnInfo, {}, text, background);
    m_list.setCell(row, ColumnFileName, m_catalogue.fileName(index).view(), text, background);
    m_list.setCell(row, ColumnCharacters, m_catalogue.characterNames(index).view(), text,
                   background);
    m_list.setCell(row, ColumnHidden, {}, text, background);
    showTick(index);
}

void CatalogueListBinding::showTick(int index)
{
    if (m_catalogue.isTicked(index))
        m_list.check(index);
    else
        m_list.uncheck(index);
}

void CatalogueListBinding::showTargets(int index)
{
    FCString count;
    FCString others;
    if (!m_catalogue.record(index).summary(count, others))
        count.clear();
    m_list.setText(index, ColumnInfo, count.view());
    m_list.setText(index, ColumnSuppressed, others.view());
}
