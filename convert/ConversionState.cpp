#include "convert/ConversionState.h"

#include "convert/SourceLine.h"
#include "fc/Diagnostic.h"
#include "fc/FileHelpers.h"
#include "platform/FileSystem.h"
#include "platform/Sjis.h"

#include <algorithm>

ConversionState::ConversionState() = default;

ConversionState::~ConversionState() = default;

void ConversionState::resetConversionState()
{
    m_definitions.clear();
    m_definitionsText.clear();
    m_undefinedIdFiles.clear();
    m_systemIdFiles.clear();
    m_unregistered.clear();
    m_duplicates.clear();
    m_usedIds.clear();
    m_smallestId = NoSmallestId;
    m_largestId = NoLargestId;
}

bool ConversionState::loadNameDefinitions(const FCString& path)
{
    uint32_t attributes = 0;
    if (path.isEmpty() || !fileExists(path.text(), &attributes) ||
        (attributes & FileSystem::AttributeDirectory) != 0)
        return false;
    FCString text;
    try {
        text.loadFile(path.text());
    } catch (const Diagnostic&) {
        // The file layer has told the user; an unreadable file registers
        // nothing.
        return false;
    }
    m_definitionsText = text;
    readNameDefinitions(text);
    return true;
}

void ConversionState::readNameDefinitions(const FCString& text)
{
    m_definitions.clear();
    FCString source(text);
    source.rewind();
    FCString line;
    while (source.readLine(line, true, true)) {
        FCString object, number, name;
        line.rewind();
        line.nextToken(object, ",");
        line.nextToken(number, ",");
        line.nextToken(name, ",");
        m_definitions.emplace(
            object.toStdString(),
            FCIdString(number.toInteger(), SourceLine::wholeCharacters(name.view())));
    }
}

void ConversionState::beginFile()
{
    m_fileHasUndefinedId = false;
    m_fileHasSystemId = false;
}

void ConversionState::surveyLine(const SourceLine& line, const FCString& fileName)
{
    if (line.kind() != SourceLine::Kind::Speech)
        return;
    if (line.unassignedId()) {
        if (!m_fileHasUndefinedId)
            m_undefinedIdFiles.push_back(fileName);
        m_fileHasUndefinedId = true;
    } else if (line.id() >= 0) {
        const int32_t id = line.id();
        if (!m_usedIds.insert(id))
            m_duplicates.push_back(id);
        m_smallestId = std::min(m_smallestId, id);
        m_largestId = std::max(m_largestId, id);
    } else {
        if (!m_fileHasSystemId)
            m_systemIdFiles.push_back(fileName);
        m_fileHasSystemId = true;
    }
    // A placeholder definition makes every later line of the same object
    // find a key, so each unknown object is listed once per survey.
    const std::string_view object = line.object();
    if (m_definitions.find(object) == m_definitions.end()) {
        FCString placeholder(fileName);
        placeholder << Sjis::of("で見つかった未登録キャラ");
        m_definitions.emplace(std::string(object), FCIdString(0, placeholder));
        m_unregistered.push_back(FCString(object));
    }
}

const FCIdString* ConversionState::definition(std::string_view object) const
{
    auto found = m_definitions.find(object);
    return found == m_definitions.end() ? nullptr : &found->second;
}

int32_t ConversionState::characterCount() const
{
    int64_t largest = 0;
    for (const auto& [object, name] : m_definitions)
        largest = std::max<int64_t>(largest, name.id());
    return int32_t(std::min<int64_t>(largest + 1, 2147483647));
}

std::vector<int32_t> ConversionState::duplicateIds() const
{
    std::vector<int32_t> sorted = m_duplicates;
    std::stable_sort(sorted.begin(), sorted.end());
    return sorted;
}

int64_t ConversionState::unusedIds() const
{
    if (m_largestId < m_smallestId)
        return 0;
    const int64_t span = int64_t(m_largestId) - int64_t(m_smallestId) + 1;
    return span - m_usedIds.countBetween(m_smallestId, m_largestId);
}
