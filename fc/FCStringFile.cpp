// The file operations of FCString: plain text files and the binary string
// record (a 4-byte little-endian count of length + 1, then the text and its
// NUL) that the history files are made of.

#include "fc/CannotWriteException.h"
#include "fc/FCFile.h"
#include "fc/FCString.h"
#include "fc/FCStringRep.h"
#include "fc/NotEnoughMemoryException.h"
#include "platform/Trace.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <string>

namespace {

const char* const CreateTag = "FCString - create()";

// A string's length and capacity are signed 32-bit and the capacity always
// exceeds the length.
constexpr int64_t MaximumLength = std::numeric_limits<int32_t>::max() - 1;

// Reads are split into pieces of this size, so that a count taken from a
// broken file never turns into one huge allocation: memory only grows with
// bytes that are really there.
constexpr int64_t Piece = 256 * 1024;

// The bytes between the file position and the end, or -1 when the file cannot
// tell (a pipe, a device).
int64_t bytesLeft(FCFile& file)
{
    int64_t size = file.size();
    int64_t position = file.position();
    if (size < 0 || position < 0)
        return -1;
    return std::max<int64_t>(0, size - position);
}

// Appends up to wanted bytes (all up to the end when wanted < 0) to out.
// Raises NotEnoughMemoryException when the text would outgrow a string.
void readInto(FCFile& file, std::string& out, int64_t wanted)
{
    for (;;) {
        int64_t piece = Piece;
        if (wanted >= 0)
            piece = std::min<int64_t>(piece, wanted - static_cast<int64_t>(out.size()));
        if (piece <= 0)
            return;
        size_t old = out.size();
        if (static_cast<int64_t>(old) + piece > MaximumLength + 1)
            piece = MaximumLength + 1 - static_cast<int64_t>(old);
        out.resize(old + static_cast<size_t>(piece));
        uint32_t got = file.read(out.data() + old, static_cast<uint32_t>(piece));
        out.resize(old + got);
        if (static_cast<int64_t>(out.size()) > MaximumLength)
            throw NotEnoughMemoryException(CreateTag);
        if (got == 0)
            return;
    }
}

// Reads up to count bytes into buffer, going on after short counts until the
// end of the file.
uint32_t readFully(FCFile& file, unsigned char* buffer, uint32_t count)
{
    uint32_t done = 0;
    while (done < count) {
        uint32_t got = file.read(buffer + done, count - done);
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

uint32_t littleEndian(const unsigned char bytes[4])
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

void writeFully(FCFile& file, const char* data, int64_t count)
{
    while (count > 0) {
        uint32_t piece = static_cast<uint32_t>(std::min<int64_t>(count, Piece));
        uint32_t written = file.write(data, piece);
        if (written == 0) {
            // The system took nothing and reported nothing wrong; going on
            // would spin, and stopping quietly would lose the rest.
            Trace::write("FCString: a write made no progress\n");
            throw CannotWriteException(file.name().text());
        }
        data += written;
        count -= written;
    }
}

} // namespace

void FCString::writeText(FCFile& file) const
{
    if (!file.isOpen())
        return;
    writeFully(file, text(), length());
}

void FCString::readText(FCFile& file, int32_t size)
{
    if (!file.isOpen())
        return;
    // A negative size is read like 0: everything up to the end.
    int64_t wanted = size > 0 ? size : -1;
    int64_t left = bytesLeft(file);
    if (wanted < 0 && left > MaximumLength)
        throw NotEnoughMemoryException(CreateTag);
    try {
        // The bytes go straight into the new storage, sized for what the file
        // holds; only a file that grows while it is read needs the general
        // path for the rest.
        int64_t expected = left < 0 ? 0 : (wanted < 0 ? left : std::min(wanted, left));
        FCString result;
        result.reserve(static_cast<int32_t>(FCStringRep::capacityFor(expected, 256) - 1));
        uint32_t got = readFully(file, reinterpret_cast<unsigned char*>(result.m_rep->text),
                                 static_cast<uint32_t>(expected));
        result.m_rep->length = static_cast<int32_t>(got);
        result.m_rep->text[got] = '\0';
        if (got == expected && (wanted < 0 || got < wanted)) {
            std::string rest;
            readInto(file, rest, wanted < 0 ? -1 : wanted - got);
            if (static_cast<int64_t>(got) + static_cast<int64_t>(rest.size()) > MaximumLength)
                throw NotEnoughMemoryException(CreateTag);
            if (!rest.empty())
                result.append(std::string_view(rest));
        }
        result.rewind();
        *this = result;
        rewind();
    } catch (const std::bad_alloc&) {
        throw NotEnoughMemoryException(CreateTag);
    }
}

void FCString::loadFile(const char* path, int32_t size)
{
    FCFile file;
    file.openForReading(path);
    readText(file, size);
}

void FCString::saveFile(const char* path) const
{
    FCFile file;
    file.openForWriting(path);
    // A file just opened is at position 0, so the text is written from the
    // start; cutting the file there drops what a longer old text left behind.
    writeText(file);
    file.setEndOfFile();
}

void FCString::writeTo(FCFile& file) const
{
    if (!file.isOpen())
        return;
    uint32_t count = static_cast<uint32_t>(length()) + 1;
    const char header[4] = {static_cast<char>(count & 0xFF), static_cast<char>((count >> 8) & 0xFF),
                            static_cast<char>((count >> 16) & 0xFF),
                            static_cast<char>((count >> 24) & 0xFF)};
    writeFully(file, header, 4);
    // text() is NUL-terminated, so length + 1 bytes are the text and its NUL.
    writeFully(file, text(), count);
}

// A broken record never fails: a header cut short, or a count of 0, reads as
// the empty text; a count beyond the end of the file reads the bytes that are
// there (the record's NUL is missing then, so all of them are text).
void FCString::readFrom(FCFile& file)
{
    if (!file.isOpen())
        return;
    unsigned char header[4] = {};
    if (readFully(file, header, 4) < 4) {
        create(256, std::string_view());
        return;
    }
    uint32_t count = littleEndian(header);
    try {
        std::string bytes;
        readInto(file, bytes, count);
        if (bytes.size() == count && count > 0)
            bytes.pop_back();
        create(256, std::string_view(bytes));
    } catch (const std::bad_alloc&) {
        throw NotEnoughMemoryException(CreateTag);
    }
}

int32_t FCString::peekStoredLength(FCFile& file) const
{
    if (!file.isOpen())
        return 0;
    int64_t position = file.position();
    if (position < 0)
        return 0;
    unsigned char header[4] = {};
    uint32_t got = readFully(file, header, 4);
    if (file.seek(position, FileSystem::SeekBegin) != 0)
        Trace::write("FCString: cannot go back after peeking a stored length\n");
    if (got < 4)
        return 0;
    uint32_t count = littleEndian(header);
    if (count == 0)
        return 0;
    return static_cast<int32_t>(std::min<uint32_t>(count - 1, std::numeric_limits<int32_t>::max()));
}
