#include "app/InputHistory.h"

#include "fc/CannotWriteException.h"
#include "fc/FCFile.h"
#include "fc/FileHelpers.h"
#include "platform/ProgramFolders.h"
#include "platform/Trace.h"

#include <cstdint>

namespace {

constexpr int64_t HeaderSize = 4;

void writeCount(FCFile& file, int32_t count)
{
    uint32_t value = static_cast<uint32_t>(count);
    const unsigned char bytes[4] = {static_cast<unsigned char>(value & 0xFF),
                                    static_cast<unsigned char>((value >> 8) & 0xFF),
                                    static_cast<unsigned char>((value >> 16) & 0xFF),
                                    static_cast<unsigned char>((value >> 24) & 0xFF)};
    if (file.write(bytes, 4) != 4)
        throw CannotWriteException(file.name().text());
}

// The stored count, or -1 when the file is too short to hold one.
int32_t readCount(FCFile& file)
{
    unsigned char bytes[4] = {};
    if (file.read(bytes, 4) != 4)
        return -1;
    return static_cast<int32_t>(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 |
                                uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
}

} // namespace

InputHistory::InputHistory() = default;

InputHistory::~InputHistory() = default;

std::string InputHistory::fileName(int slot)
{
    return ProgramFolders::programFolder() + "quillon.history." + std::to_string(slot) + ".txt";
}

const std::vector<FCString>& InputHistory::entries(int slot) const
{
    static const std::vector<FCString> none;
    return isSlot(slot) ? m_slots[static_cast<size_t>(slot)] : none;
}

void InputHistory::add(int slot, const FCString& text, bool saveNow)
{
    if (!isSlot(slot))
        return;
    std::vector<FCString>& entries = m_slots[static_cast<size_t>(slot)];
    // lstrcmpA finds only identical texts equal, so comparing the bytes
    // gives the same answer without the cost of the collator.
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (it->view() == text.view()) {
            FCString found = *it;
            entries.erase(it);
            entries.push_back(found);
            if (saveNow)
                save(slot);
            return;
        }
    }
    entries.push_back(text);
    if (entries.size() > static_cast<size_t>(MaximumEntries))
        entries.erase(entries.begin());
    if (saveNow)
        save(slot);
}

void InputHistory::loadAll()
{
    for (int slot = 0; slot < SlotCount; ++slot)
        load(slot);
}

void InputHistory::saveAll()
{
    for (int slot = 0; slot < SlotCount; ++slot)
        save(slot);
}

void InputHistory::load(int slot)
{
    if (!isSlot(slot))
        return;
    std::string path = fileName(slot);
    if (!fileExists(path.c_str()))
        return;
    size_t index = static_cast<size_t>(slot);
    m_unreadable[index] = true;
    FCFile file;
    file.openForReading(path.c_str());
    m_slots[index].clear();

    // Every record is checked against the bytes left before it is read, so
    // that a short or broken file ends quietly after its last whole record
    // and a huge count or length never turns into a huge allocation.
    int64_t size = file.size();
    int32_t count = readCount(file);
    int64_t position = HeaderSize;
    for (int32_t i = 0; i < count && size >= 0; ++i) {
        if (size - position < HeaderSize) {
            Trace::write("InputHistory: " + path + " ends before its count of entries\n");
            break;
        }
        FCString text;
        int64_t recordSize = HeaderSize + int64_t(text.peekStoredLength(file)) + 1;
        if (recordSize > size - position) {
            Trace::write("InputHistory: " + path + " ends inside an entry\n");
            break;
        }
        text.readFrom(file);
        position += recordSize;
        // peekStoredLength reads a stored 0 as an empty text of 5 bytes; the
        // position tells where the record really ended.
        int64_t reached = file.position();
        if (reached >= 0)
            position = reached;
        add(slot, text, false);
    }
    m_unreadable[index] = false;
}

void InputHistory::save(int slot)
{
    if (!isSlot(slot))
        return;
    size_t index = static_cast<size_t>(slot);
    if (m_unreadable[index]) {
        Trace::write("InputHistory: " + fileName(slot) + " was not readable and is kept\n");
        return;
    }
    const std::vector<FCString>& entries = m_slots[index];
    FCFile file;
    file.openForWriting(fileName(slot).c_str());
    writeCount(file, static_cast<int32_t>(entries.size()));
    for (const FCString& text : entries)
        text.writeTo(file);
    file.setEndOfFile();
}
