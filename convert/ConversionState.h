#pragma once

#include "convert/MessageIdSet.h"
#include "convert/RavconHeader.h"
#include "fc/FCIdString.h"
#include "fc/FCString.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class SourceLine;

// What a pre-survey gathers and a conversion works from: the message ids
// seen (with their duplicates and range), the files with unassigned or
// system ids, the speaker objects nobody defined, the name definitions and
// the screenplay header. It lives as long as the conversion dialog's owner,
// so the last run's findings stay readable; every run starts with
// resetConversionState().
class ConversionState {
public:
    static constexpr int32_t NoSmallestId = 2147483647;
    static constexpr int32_t NoLargestId = -1;

    // Object name (CP932 bytes) to true name and character number. The
    // program compares object names with its locale order, which holds two
    // texts equal only when their bytes are; byte keys find the same entries
    // without a collation per speech line.
    using Definitions = std::map<std::string, FCIdString, std::less<>>;

    ConversionState();
    virtual ~ConversionState();

    ConversionState(const ConversionState&) = delete;
    ConversionState& operator=(const ConversionState&) = delete;

    void resetConversionState();

    // Reads the name-definition file; false when it does not exist, is a
    // folder or could not be read (the file layer has said why then).
    [[nodiscard]] bool loadNameDefinitions(const FCString& path);
    // The same from a definition file's text: per line object name, number
    // and true name separated by commas; the first line of an object wins.
    void readNameDefinitions(const FCString& text);
    // The text loadNameDefinitions read, for RavconHeader::loadNames.
    const FCString& definitionsText() const { return m_definitionsText; }

    // The pre-survey of one file: beginFile clears the per-file marks, then
    // every line of the file goes to surveyLine with the file's name.
    void beginFile();
    void surveyLine(const SourceLine& line, const FCString& fileName);

    const Definitions& nameDefinitions() const { return m_definitions; }
    // Null when the object has no definition.
    const FCIdString* definition(std::string_view object) const;
    // One more than the largest character number defined (at least 1): the
    // numbers a screenplay header counts.
    int32_t characterCount() const;

    const MessageIdSet& usedIds() const { return m_usedIds; }
    // One entry per occurrence after an id's first, ascending.
    std::vector<int32_t> duplicateIds() const;
    int32_t smallestId() const { return m_smallestId; }
    int32_t largestId() const { return m_largestId; }
    // Ids between the smallest and the largest that no line used.
    int64_t unusedIds() const;
    const std::vector<FCString>& filesWithUndefinedIds() const { return m_undefinedIdFiles; }
    const std::vector<FCString>& filesWithSystemIds() const { return m_systemIdFiles; }
    const std::vector<FCString>& unregisteredNames() const { return m_unregistered; }

    RavconHeader& header() { return m_header; }
    const RavconHeader& header() const { return m_header; }

private:
    MessageIdSet m_usedIds;
    // Appended in survey order and sorted when read: an ordered insert per
    // duplicate would turn a folder full of them quadratic.
    std::vector<int32_t> m_duplicates;
    int32_t m_smallestId = NoSmallestId;
    int32_t m_largestId = NoLargestId;
    std::vector<FCString> m_undefinedIdFiles;
    std::vector<FCString> m_systemIdFiles;
    std::vector<FCString> m_unregistered;
    Definitions m_definitions;
    FCString m_definitionsText;
    RavconHeader m_header;
    bool m_fileHasUndefinedId = false;
    bool m_fileHasSystemId = false;
};
