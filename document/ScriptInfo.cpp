#include "document/ScriptInfo.h"

#include "document/CatalogueHeader.h"
#include "fc/FCXListIterator.h"

#include <cassert>
#include <limits>

namespace {

// Word counts come from files anyone may have edited; a sum beyond the
// 32-bit range stays at its limit instead of turning into a count of the
// opposite sign.
int32_t addCounts(int32_t a, int32_t b)
{
    const int64_t sum = int64_t(a) + int64_t(b);
    if (sum > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(sum);
}

void appendName(FCString& names, std::string_view name)
{
    if (!names.isEmpty())
        names.append(",");
    names.append(name);
}

} // namespace

ScriptInfo::ScriptInfo()
{
    resetPageCounts();
}

ScriptInfo::~ScriptInfo()
{
    // The targets refer to the characters' entries: drop them first.
    m_printTargets.removeAll();
    m_characters.removeAll();
}

FCIdString* ScriptInfo::addEntry(int32_t count, std::string_view name)
{
    auto* entry = new FCIdString(count, FCString(name));
    m_characters.append(entry, true);
    m_characterIndex.emplace(std::string(name), entry);
    return entry;
}

void ScriptInfo::addTarget(FCIdString* character)
{
    m_printTargets.append(character, false);
    m_targetSet.insert(character);
}

void ScriptInfo::resetPageCounts()
{
    m_pageCounts.fill(UnknownPages);
}

void ScriptInfo::clear()
{
    m_sceneName.clear();
    m_printTargets.removeAll();
    m_targetSet.clear();
    m_characters.removeAll();
    m_characterIndex.clear();
    resetPageCounts();
}

bool ScriptInfo::readHeader(const char* path, FCString& namesOut, bool accumulate)
{
    CatalogueHeader header;
    if (!header.load(path))
        return false;
    return applyHeader(header, namesOut, accumulate);
}

bool ScriptInfo::applyHeader(const CatalogueHeader& header, FCString& namesOut, bool accumulate)
{
    if (!accumulate)
        clear();
    resetPageCounts();
    if (header.hasScene())
        setSceneName(header.scene());
    for (const CatalogueHeader::Entry& entry : header.entries()) {
        FCIdString* existing = findCharacter(entry.name);
        if (existing) {
            if (accumulate)
                existing->setId(addCounts(existing->id(), entry.count));
            continue;
        }
        appendCharacter(entry.name, entry.count);
        appendName(namesOut, entry.name);
    }
    return header.hasTotal();
}

FCIdString* ScriptInfo::appendCharacter(std::string_view name, int32_t count)
{
    assert(!findCharacter(name) && "ScriptInfo::appendCharacter: the name is there already");
    FCIdString* entry = addEntry(count, name);
    addTarget(entry);
    return entry;
}

void ScriptInfo::copyFrom(const ScriptInfo& other)
{
    if (&other == this)
        return;
    clear();
    m_sceneName = other.m_sceneName;
    m_pageCounts = other.m_pageCounts;
    FCXListIterator<FCIdString> characters(other.m_characters);
    while (const FCIdString* character = characters.next())
        addEntry(character->id(), character->view());
    FCXListIterator<FCIdString> targets(other.m_printTargets);
    while (const FCIdString* target = targets.next()) {
        FCIdString* copy = findCharacter(target->view());
        assert(copy && "ScriptInfo::copyFrom: a print target that is no character");
        if (copy)
            addTarget(copy);
    }
}

void ScriptInfo::merge(const ScriptInfo& other)
{
    // Merging a record into itself walks the list it grows; only its
    // counts change, so walk a fixed number of entries.
    const int32_t count = other.m_characters.count();
    auto* node = other.m_characters.first();
    for (int32_t i = 0; i < count; ++i, node = node->next()) {
        const FCIdString* character = node->object();
        FCIdString* existing = findCharacter(character->view());
        if (existing) {
            existing->setId(addCounts(existing->id(), character->id()));
            continue;
        }
        FCIdString* entry = addEntry(character->id(), character->view());
        if (other.isPrintTarget(character->view()))
            addTarget(entry);
    }
}

FCIdString* ScriptInfo::findCharacter(std::string_view name) const
{
    const auto found = m_characterIndex.find(name);
    return found == m_characterIndex.end() ? nullptr : found->second;
}

FCIdString* ScriptInfo::findPrintTarget(std::string_view name) const
{
    FCIdString* character = findCharacter(name);
    return character && m_targetSet.count(character) ? character : nullptr;
}

bool ScriptInfo::addPrintTarget(std::string_view name)
{
    if (isPrintTarget(name))
        return false;
    FCIdString* character = findCharacter(name);
    if (!character)
        return false;
    addTarget(character);
    return true;
}

void ScriptInfo::clearPrintTargets()
{
    m_printTargets.removeAll();
    m_targetSet.clear();
}

bool ScriptInfo::summary(FCString& countOut, FCString& suppressedOut) const
{
    countOut.clear();
    countOut.appendNumber(printTargetCount());
    countOut.append(" / ");
    countOut.appendNumber(characterCount());
    suppressedOut.clear();
    if (printTargetCount() == characterCount())
        return false;
    FCXListIterator<FCIdString> walk(m_characters);
    while (const FCIdString* character = walk.next()) {
        if (!isPrintTarget(character->view()))
            appendName(suppressedOut, character->view());
    }
    return true;
}

FCString ScriptInfo::characterNames() const
{
    FCString names;
    FCXListIterator<FCIdString> walk(m_characters);
    while (const FCIdString* character = walk.next())
        appendName(names, character->view());
    return names;
}

int32_t ScriptInfo::cachedPageCount(int mode) const
{
    if (mode < 0 || mode >= PageModes)
        return NoSuchMode;
    return m_pageCounts[size_t(mode)];
}

void ScriptInfo::setCachedPageCount(int mode, int32_t pages)
{
    if (mode < 0 || mode >= PageModes)
        return;
    m_pageCounts[size_t(mode)] = pages;
}
