#include "platform/DirectoryLister.h"

#include "platform/Cp932.h"
#include "platform/FileSystem.h"
#include "platform/NativePath.h"
#include "platform/TextCodec.h"
#include "platform/Trace.h"
#include "platform/WinError.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unicode/uchar.h>

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// Whether every byte of a name is a printable ASCII character that the
// codec maps to itself both ways: such a name is its own CP932 form, and
// its key needs no converter. Most scenario folders hold only such names.
bool isPlainAscii(std::string_view name)
{
    static const std::array<bool, 128> plain = [] {
        std::array<bool, 128> table{};
        for (int c = 0x20; c < 0x7F; ++c) {
            const std::string one(1, static_cast<char>(c));
            std::string cp932;
            std::string back;
            table[std::size_t(c)] = TextCodec::fromUtf8Exact(one, cp932) && cp932 == one &&
                                    TextCodec::toUtf8Exact(cp932, back) && back == one &&
                                    u_toupper(c) == (c >= 'a' && c <= 'z' ? c - 0x20 : c);
        }
        return table;
    }();
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || !plain[byte])
            return false;
    }
    return true;
}

// NTFS compares names by their UTF-16 code units after mapping each unit
// through its upcase table; ICU's simple upper-case mapping stands in for
// that table. Units whose upper case lies outside the BMP stay as they are,
// as the table has no room for them.
std::u16string ntfsKey(std::string_view cp932)
{
    if (isPlainAscii(cp932)) {
        std::u16string key(cp932.size(), u'\0');
        for (std::size_t i = 0; i < cp932.size(); ++i) {
            const char c = cp932[i];
            key[i] = static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 0x20 : c);
        }
        return key;
    }
    std::u16string key = TextCodec::toUtf16(cp932);
    for (char16_t& unit : key) {
        UChar32 upper = u_toupper(unit);
        if (upper <= 0xFFFF)
            unit = static_cast<char16_t>(upper);
    }
    return key;
}

bool isAsciiLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool sameCharacter(std::string_view a, std::size_t i, int lengthA, std::string_view b,
                   std::size_t k, int lengthB)
{
    if (lengthA != lengthB)
        return false;
    if (lengthA == 1) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[k]);
        if (isAsciiLetter(x) && isAsciiLetter(y))
            return (x | 0x20) == (y | 0x20);
        return x == y;
    }
    return a.substr(i, 2) == b.substr(k, 2);
}

int lengthAt(std::string_view text, std::size_t i)
{
    return Cp932::charLength(text.data() + i, text.data() + text.size());
}

// "*" and "?" as plain wildcards, one CP932 character at a time, with the
// usual backtracking to the last "*". Wildcard bytes are looked at only at
// character starts, so a trail byte is never taken for one.
bool globMatches(std::string_view pattern, std::string_view name)
{
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        int nameLength = lengthAt(name, n);
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
            continue;
        }
        if (p < pattern.size()) {
            int patternLength = lengthAt(pattern, p);
            if ((patternLength == 1 && pattern[p] == '?') ||
                sameCharacter(pattern, p, patternLength, name, n, nameLength)) {
                p += static_cast<std::size_t>(patternLength);
                n += static_cast<std::size_t>(nameLength);
                continue;
            }
        }
        if (starP == std::string_view::npos)
            return false;
        // Let the last "*" take one more character and try again behind it.
        p = starP + 1;
        starN += static_cast<std::size_t>(lengthAt(name, starN));
        n = starN;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool DirectoryLister::matches(std::string_view pattern, std::string_view name)
{
    if (globMatches(pattern, name))
        return true;
    // Windows lets a trailing ".*" match names without an extension too, so
    // that "*.*" lists every name and "readme.*" finds "readme".
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*")
        return globMatches(pattern.substr(0, pattern.size() - 2), name);
    return false;
}

bool DirectoryLister::ntfsLess(std::string_view a, std::string_view b)
{
    std::u16string keyA = ntfsKey(a);
    std::u16string keyB = ntfsKey(b);
    if (keyA != keyB)
        return keyA < keyB;
    // A case-sensitive file system may hold both "a" and "A"; their bytes
    // keep the order total.
    return a < b;
}

uint32_t DirectoryLister::list(std::string_view folder, std::string_view pattern,
                               std::vector<DirectoryEntry>& entries,
                               std::vector<std::string>* unnamed)
{
    entries.clear();
    if (unnamed)
        unnamed->clear();
    std::string native = ".";
    if (!folder.empty()) {
        if (uint32_t error = NativePath::fromCp932(folder, native)) {
            // A folder whose name has no UTF-8 form does not exist.
            if (error == WinError::FileNotFound)
                error = WinError::PathNotFound;
            FileSystem::setLastError(error);
            return error;
        }
    }
    std::unique_ptr<DIR, DirCloser> dir(::opendir(native.c_str()));
    if (!dir) {
        uint32_t error = (errno == ENOENT || errno == ENOTDIR) ? WinError::PathNotFound
                                                               : WinError::fromErrno(errno);
        FileSystem::setLastError(error);
        return error;
    }

    struct Found {
        std::u16string key;
        DirectoryEntry entry;
    };
    std::vector<Found> found;
    int fd = ::dirfd(dir.get());
    while (dirent* item = ::readdir(dir.get())) {
        std::string_view utf8 = item->d_name;
        if (utf8 == "." || utf8 == "..")
            continue;
        std::string cp932;
        std::string back;
        if (isPlainAscii(utf8)) {
            cp932.assign(utf8);
        } else if (!TextCodec::fromUtf8Exact(utf8, cp932) || !TextCodec::toUtf8Exact(cp932, back) ||
                   back != utf8) {
            Trace::write("DirectoryLister: skipped a name with no CP932 form in " +
                         std::string(folder) + ": " + TextCodec::fromUtf8(utf8) + "\n");
            if (unnamed && matches(pattern, TextCodec::fromUtf8(utf8)))
                unnamed->emplace_back(utf8);
            continue;
        }
        if (!matches(pattern, cp932))
            continue;
        // A link that cannot be followed is still an entry; one that vanished
        // since readdir is not.
        struct stat info;
        FileSystem::EntryKind kind = FileSystem::EntryKind::File;
        uint32_t linkError = 0;
        if (::fstatat(fd, item->d_name, &info, 0) == 0) {
            kind = FileSystem::entryKindOf(info.st_mode);
        } else {
            const int error = errno;
            if (::fstatat(fd, item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            kind = FileSystem::EntryKind::Special;
            linkError = error == ENOENT ? WinError::FileNotFound : WinError::fromErrno(error);
        }
        uint32_t attributes = FileSystem::attributesOf(info.st_mode, cp932);
        found.push_back({ntfsKey(cp932), {std::move(cp932), attributes, kind, linkError}});
    }
    if (unnamed)
        std::sort(unnamed->begin(), unnamed->end());
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.key != b.key)
            return a.key < b.key;
        return a.entry.name < b.entry.name;
    });
    entries.reserve(found.size());
    for (Found& f : found)
        entries.push_back(std::move(f.entry));
    uint32_t result = entries.empty() ? WinError::FileNotFound : WinError::Success;
    FileSystem::setLastError(result);
    return result;
}
