#include "document/ScriptCatalogue.h"

#include <algorithm>
#include <cassert>
#include <utility>

ScriptCatalogue::ScriptCatalogue() = default;

ScriptCatalogue::~ScriptCatalogue() = default;

const ScriptCatalogue::Entry& ScriptCatalogue::entry(int index) const
{
    assert(contains(index) && "ScriptCatalogue: no entry of that index");
    return m_entries[static_cast<size_t>(index)];
}

ScriptCatalogue::Entry& ScriptCatalogue::entry(int index)
{
    assert(contains(index) && "ScriptCatalogue: no entry of that index");
    return m_entries[static_cast<size_t>(index)];
}

template <typename Call> void ScriptCatalogue::tell(Call call)
{
    for (ScriptCatalogueListener* listener : m_listeners)
        call(*listener);
}

bool ScriptCatalogue::setTicked(int index, bool ticked)
{
    if (!contains(index))
        return false;
    Entry& changed = entry(index);
    if (changed.ticked == ticked)
        return true;
    changed.ticked = ticked;
    tell([index](ScriptCatalogueListener& l) { l.entryChanged(index, CatalogueChange::Tick); });
    return true;
}

void ScriptCatalogue::setAllTicked(bool ticked)
{
    for (int index = 0; index < count(); ++index)
        setTicked(index, ticked);
}

bool ScriptCatalogue::setPrintTargets(int index, std::span<const std::string> names)
{
    if (!contains(index))
        return false;
    ScriptInfo& changed = record(index);
    changed.clearPrintTargets();
    for (const std::string& name : names)
        changed.addPrintTarget(name);
    tell([index](ScriptCatalogueListener& l) { l.entryChanged(index, CatalogueChange::Targets); });
    return true;
}

void ScriptCatalogue::clear()
{
    m_entries.clear();
    ++m_generation;
    tell([](ScriptCatalogueListener& l) { l.catalogueCleared(); });
}

void ScriptCatalogue::append(const FCString& fileName, std::unique_ptr<ScriptInfo> record,
                             FCString characterNames)
{
    // A file without a speaking character has no script to print.
    const bool ticked = record->characterCount() > 0;
    m_entries.push_back({fileName, std::move(record), ticked, std::move(characterNames)});
    const int index = count() - 1;
    tell([index](ScriptCatalogueListener& l) { l.entriesAdded(index, 1); });
}

void ScriptCatalogue::addListener(ScriptCatalogueListener* listener)
{
    if (listener &&
        std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void ScriptCatalogue::removeListener(ScriptCatalogueListener* listener)
{
    std::erase(m_listeners, listener);
}
