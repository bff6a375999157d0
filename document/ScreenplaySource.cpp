#include "document/ScreenplaySource.h"

#include "platform/FileSystem.h"
#include "platform/WinError.h"

#include <algorithm>
#include <cstring>

ScreenplaySource::ScreenplaySource() = default;

ScreenplaySource::~ScreenplaySource() = default;

bool ScreenplaySource::open(const char* path)
{
    m_inMemory = false;
    m_path = path;
    m_file.openForReading(path);
    if (!m_file.isOpen())
        return false;
    m_size = m_file.size();
    decide();
    return true;
}

void ScreenplaySource::openBytes(std::string_view bytes)
{
    m_file.close();
    m_inMemory = true;
    m_bytes = bytes;
    m_bytesPosition = 0;
    m_size = static_cast<int64_t>(bytes.size());
    decide();
}

void ScreenplaySource::decide()
{
    ScreenplayEncoding encoding;
    // Counts what a UTF-8 reading would replace, while that reading is
    // still possible; its output is not kept.
    ScreenplayUtf8Decoder counter;
    std::string discarded;
    auto take = [&](std::string_view piece) {
        encoding.feed(piece);
        if (!encoding.settled()) {
            discarded.clear();
            counter.convert(piece, discarded);
        }
    };

    m_head.assign(PieceSize, '\0');
    m_head.resize(readUnderlying(m_head.data(), PieceSize));
    m_headPosition = 0;
    bool atEnd = m_head.size() < PieceSize;
    take(m_head);

    bool pastHead = false;
    std::string piece;
    while (!atEnd && !encoding.settled()) {
        piece.assign(PieceSize, '\0');
        piece.resize(readUnderlying(piece.data(), PieceSize));
        atEnd = piece.size() < PieceSize;
        pastHead = pastHead || !piece.empty();
        take(piece);
    }

    m_kind = encoding.settled() ? ScreenplayEncoding::Kind::ShiftJis : encoding.finish();
    m_substitutions = 0;
    if (m_kind == ScreenplayEncoding::Kind::Utf8) {
        counter.finish(discarded);
        m_substitutions = counter.substitutions();
    }
    if (pastHead) {
        // The head alone no longer leads on to the file's position.
        m_head.clear();
        rewind();
    }
    m_decoder = ScreenplayUtf8Decoder();
    m_pending.clear();
    m_pendingPosition = 0;
    m_ended = false;
}

void ScreenplaySource::rewind()
{
    if (m_inMemory) {
        m_bytesPosition = 0;
        return;
    }
    // A file that cannot seek (none the readers are given should) is opened
    // again instead.
    if (m_file.seek(0, FileSystem::SeekBegin) != WinError::Success)
        m_file.openForReading(m_path.c_str());
}

std::size_t ScreenplaySource::readUnderlying(char* buffer, std::size_t capacity)
{
    if (m_inMemory) {
        const std::size_t n = std::min(capacity, m_bytes.size() - m_bytesPosition);
        if (n > 0)
            std::memcpy(buffer, m_bytes.data() + m_bytesPosition, n);
        m_bytesPosition += n;
        return n;
    }
    if (!m_file.isOpen())
        return 0;
    std::size_t filled = 0;
    while (filled < capacity) {
        const std::size_t limit = std::size_t(1) << 30;
        const std::size_t wanted = std::min(capacity - filled, limit);
        const uint32_t got = m_file.read(buffer + filled, static_cast<uint32_t>(wanted));
        if (got == 0)
            break;
        filled += got;
    }
    return filled;
}

std::size_t ScreenplaySource::readStored(char* buffer, std::size_t capacity)
{
    if (m_headPosition < m_head.size()) {
        const std::size_t n = std::min(capacity, m_head.size() - m_headPosition);
        std::memcpy(buffer, m_head.data() + m_headPosition, n);
        m_headPosition += n;
        return n;
    }
    return readUnderlying(buffer, capacity);
}

std::size_t ScreenplaySource::read(char* buffer, std::size_t capacity)
{
    if (capacity == 0)
        return 0;
    if (m_kind == ScreenplayEncoding::Kind::ShiftJis)
        return readStored(buffer, capacity);
    while (m_pendingPosition >= m_pending.size()) {
        if (m_ended)
            return 0;
        m_pending.clear();
        m_pendingPosition = 0;
        m_piece.assign(PieceSize, '\0');
        m_piece.resize(readStored(m_piece.data(), PieceSize));
        if (m_piece.empty()) {
            m_decoder.finish(m_pending);
            m_ended = true;
        } else {
            m_decoder.convert(m_piece, m_pending);
        }
    }
    const std::size_t n = std::min(capacity, m_pending.size() - m_pendingPosition);
    std::memcpy(buffer, m_pending.data() + m_pendingPosition, n);
    m_pendingPosition += n;
    return n;
}
