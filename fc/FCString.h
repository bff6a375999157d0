#pragma once

#include "fc/FCStringRep.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class FCFile;
class FCStringRep;

// The text type of the program: CP932 bytes in a shared, copy-on-write
// storage, with a cursor that searching, tokenising and stepping start from
// and leave behind what they found. Every character-wise operation is
// double-byte aware, so a trail byte never matches a single-byte delimiter.
//
// Positions are byte offsets; the end is the offset of the terminating NUL
// (the length). A character code is the byte for a single-byte character,
// lead * 256 + trail for a double-byte one, and 0 at the end. "Absent" texts
// are null pointers.
class FCString {
public:
    static constexpr int none = -1;

    FCString();
    FCString(const char* text);
    FCString(std::string_view text);
    FCString(const FCString& other);
    FCString& operator=(const FCString& other);
    virtual ~FCString();

    // Building.
    void create(int32_t unit, const char* text);
    void create(int32_t unit, std::string_view text);
    // wvsprintfA-style formatting: %d %i %u %x %X %c %s %S %% (with the flags
    // - 0 #, width and precision, and the l/h size prefixes). As on Windows,
    // l is 32 bits: pass int32_t / uint32_t. An absent string prints "(null)".
    void create(const char* pattern, ...);
    void setNumber(int32_t value);

    void append(const char* text);
    void append(const char* text, int32_t byteCount);
    inline void append(std::string_view text);
    void prepend(const char* text);
    // Makes the storage private with room for at least `bytes` bytes of
    // text, so that appends up to that length happen in place; the text and
    // the cursor are kept. For texts whose final size is roughly known.
    void reserve(int32_t bytes);
    void clear();
    FCString& operator<<(const FCString& other);
    FCString& operator<<(const char* text);
    FCString& operator<<(int32_t value);

    void appendNumber(int32_t value, int radix = 10, int width = 0, char fill = ' ');
    void appendUnsigned(uint32_t value, int radix = 10, int width = 0, char fill = ' ');
    int32_t toInteger(bool fromCursor = false);
    // The same reading of a text without a string: decimal (leading blanks,
    // a sign), 0x hexadecimal or 0b binary, wrapping in 32 bits.
    static int32_t parseInteger(std::string_view text);

    void toUpper();
    void toLower();
    // Only LCMAP_FULLWIDTH is meaningful in this program.
    static constexpr uint32_t MapFullWidth = 0x00800000;
    void mapString(uint32_t flags);

    // Access.
    int32_t length() const;
    int32_t charCount();
    bool isEmpty() const { return length() == 0; }
    const char* text() const;
    std::string_view view() const;
    std::string toStdString() const { return std::string(view()); }
    int32_t cursor() const { return m_cursor; }
    // Moves the cursor to a byte position, clamped to the text.
    void setCursor(int32_t position);
    const char* cursorText() const;

    // For tests and diagnostics.
    int32_t capacity() const;
    int32_t unit() const;
    int32_t references() const;
    bool sharesStorageWith(const FCString& other) const { return m_rep == other.m_rep; }

    // Cursor and characters.
    void rewind() { m_cursor = 0; }
    bool nextChar();
    bool prevChar();
    int moveCursor(int n, int origin);
    int currentChar() const;
    int charCodeAt(int32_t position) const;

    // Searching from the cursor: on success the cursor rests on the match and
    // its position is returned; otherwise the cursor goes to the end and none
    // is returned.
    int32_t findChar(int code);
    int32_t findAnyOf(const char* set);
    int32_t skipSet(const char* set);
    int32_t findLastOf(const char* set);
    // Matches start and end on character boundaries; an empty needle matches
    // nothing. With delimiters, only whole tokens (as nextToken cuts them).
    int32_t findText(const char* needle, const char* delimiters = nullptr);

    // Tokenising.
    int32_t nextToken(FCString& out, const char* delimiters, bool includeDelimiter = false);
    // 0: no field; 1: a field; 2 (keepEmpty only): a field whose delimiter
    // was the last character, so an empty field follows.
    int nextField(FCString& out, const char* delimiters, bool keepEmpty = false,
                  int* delimiterOut = nullptr);
    int split(FCString* fields, int count, const char* delimiters, bool lastTakesRest = false,
              bool keepEmpty = false, const char* skipFirst = nullptr);
    bool readLine(FCString& out, bool trimLeading = false, bool fullWidthBlank = false);
    // from and to are included; none means the start and the end.
    void substring(FCString& out, int32_t from = none, int32_t to = none) const;
    int replaceAll(const char* find, const char* replacement);

    // Comparison and copying out.
    bool equals(const FCString& other) const;
    bool equals(const char* text) const;
    // lstrcmpA order: -1, 0 or 1.
    int compare(const FCString& other) const;
    bool operator==(const FCString& other) const { return equals(other); }
    int32_t copyTo(char* buffer, int32_t size) const;

    // Files: each does nothing on a file that is not open.
    void writeText(FCFile& file) const;
    void readText(FCFile& file, int32_t size = 0);
    void loadFile(const char* path, int32_t size = 0);
    void saveFile(const char* path) const;
    void writeTo(FCFile& file) const;
    void readFrom(FCFile& file);
    int32_t peekStoredLength(FCFile& file) const;

    // A box titled "FCString class" naming the thread's last platform error.
    static void showLastError(const char* text);

private:
    // Drops this string's share of its storage (destroying it when it was the
    // last); always followed by adopt.
    void release();
    // Takes a freshly built storage: count +1, cursor to the start.
    void adopt(FCStringRep* rep);
    // Copies a shared storage (same unit) so that it may be written in place.
    void makePrivate();
    // Builds a storage holding the bytes and puts it in place of the current
    // one; on failure the string keeps its text.
    void replaceText(const char* text, int32_t length, int32_t unit,
                     const char* tag = "FCString - create()");
    void replaceText(std::string_view text, int32_t unit, const char* tag);
    void appendBytes(const char* text, std::size_t length);
    // new FCStringRep, with a failure to allocate the object itself reported
    // as the tagged exception too. Lengths beyond the 32-bit limit raise it.
    static FCStringRep* build(int32_t unit, std::string_view first, std::string_view second,
                              int64_t minimumCapacity, const char* tag);

    const char* end() const;
    // Start of the character before a character boundary.
    int32_t previousStart(int32_t position) const;
    // Whether position is the second byte of a double-byte character.
    bool isTrailPosition(int32_t position) const;
    // Whether the character at position is one of the characters of set.
    bool isInSet(int32_t position, const char* set) const;
    void appendDigits(uint32_t magnitude, bool negative, int radix, int width, char fill);

    FCStringRep* m_rep;
    int32_t m_cursor = 0;
};

// Appends that fit the capacity of an unshared storage are the common case
// of every text built piece by piece (a laid-out scene makes millions), so
// that case is inline; everything else goes through appendBytes.
inline void FCString::append(std::string_view text)
{
    FCStringRep* rep = m_rep;
    const int64_t newLength = int64_t(rep->length) + int64_t(text.size());
    if (newLength < rep->capacity && rep->references.load(std::memory_order_relaxed) <= 1) {
        if (!text.empty())
            std::memcpy(rep->text + rep->length, text.data(), text.size());
        rep->length = int32_t(newLength);
        rep->text[newLength] = '\0';
        return;
    }
    appendBytes(text.data(), text.size());
}
