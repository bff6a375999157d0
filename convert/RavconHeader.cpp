#include "convert/RavconHeader.h"

#include "convert/SourceLine.h"
#include "platform/Sjis.h"
#include "platform/Trace.h"

RavconHeader::RavconHeader() = default;

RavconHeader::~RavconHeader() = default;

void RavconHeader::reset(const FCString& sceneName, int32_t characterCount)
{
    m_sceneName = sceneName;
    m_characterCount = characterCount > 0 ? characterCount : 0;
    m_counts.clear();
    m_startId = -1;
    m_endId = -1;
    m_counted = false;
}

void RavconHeader::countLine(int32_t character, int32_t messageId)
{
    if (character < 0 || character >= m_characterCount)
        return;
    ++m_counts[character];
    if (!m_counted) {
        m_startId = messageId;
        m_endId = messageId;
        m_counted = true;
        return;
    }
    if (messageId < m_startId)
        m_startId = messageId;
    if (messageId > m_endId)
        m_endId = messageId;
}

int32_t RavconHeader::lineCount(int32_t character) const
{
    auto found = m_counts.find(character);
    return found == m_counts.end() ? 0 : found->second;
}

void RavconHeader::write(FCString& text, FCString* trace) const
{
    if (m_characterCount <= 0)
        return;
    text << ".scene\t" << m_sceneName << "\n";
    text << ".start\t" << m_startId << "\n";
    text << ".end\t" << m_endId << "\n";
    FCString entries;
    int32_t characters = 0;
    int32_t total = 0;
    // The map walks the numbers upwards, as the screenplay wants them.
    for (const auto& [character, count] : m_counts) {
        if (count <= 0)
            continue;
        auto name = m_names.find(character);
        if (name == m_names.end()) {
            FCString line;
            line << "CID:" << character << Sjis::of("番のキャラが登録されていません\n");
            if (trace)
                *trace << line;
            else
                Trace::write(line.view());
            continue;
        }
        entries << "." << name->second << "\t" << count << "\n";
        ++characters;
        total += count;
    }
    text << ".chara\t" << characters << "\n" << entries << ".total\t" << total << "\n";
}

void RavconHeader::loadNames(const FCString& definitions)
{
    m_names.clear();
    FCString source(definitions);
    source.rewind();
    FCString line;
    while (source.readLine(line, true, true)) {
        FCString skipped, number;
        line.rewind();
        line.nextToken(skipped, ",");
        line.nextToken(number, ",");
        line.skipSet(",");
        const int32_t character = number.toInteger();
        if (m_names.count(character) == 0)
            m_names.emplace(character,
                            SourceLine::wholeCharacters(line.view().substr(size_t(line.cursor()))));
    }
}
