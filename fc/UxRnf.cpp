#include "fc/UxRnf.h"

#include "fc/Diagnostic.h"
#include "fc/FCFileUty.h"
#include "fc/FCPathName.h"
#include "fc/FileHelpers.h"
#include "fc/NotEnoughMemoryException.h"
#include "platform/Cp932.h"
#include "platform/FileSystem.h"
#include "platform/TextCollator.h"
#include "platform/Trace.h"

#include <cassert>
#include <new>
#include <utility>

namespace {

constexpr int FullWidthBlank = 0x8140;

// Byte offset of the first character at or after from whose code is one of
// the given single-byte codes, or text.size(). Character-wise, so that the
// trail byte of a double-byte character never ends a token.
size_t findChar(std::string_view text, size_t from, std::string_view codes)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (const char* p = begin + from; p < end; p = Cp932::next(p, end)) {
        if (Cp932::charLength(p, end) == 1 && codes.find(*p) != std::string_view::npos)
            return static_cast<size_t>(p - begin);
    }
    return text.size();
}

// The first character at or after from that is not one of the codes.
size_t skipChars(std::string_view text, size_t from, std::string_view codes)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (const char* p = begin + from; p < end; p = Cp932::next(p, end)) {
        if (Cp932::charLength(p, end) != 1 || codes.find(*p) == std::string_view::npos)
            return static_cast<size_t>(p - begin);
    }
    return text.size();
}

// Leading blanks: space, TAB and the full-width space.
std::string_view trimLeading(std::string_view line)
{
    const char* p = line.data();
    const char* end = p + line.size();
    while (p < end) {
        int code = Cp932::codeAt(p, end);
        if (code != ' ' && code != '\t' && code != FullWidthBlank)
            break;
        p = Cp932::next(p, end);
    }
    return std::string_view(p, static_cast<size_t>(end - p));
}

// Whether the text's last character is a lead byte left without its trail
// (a text cut in the middle of a character).
bool endsWithLoneLeadByte(std::string_view text)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    const char* last = nullptr;
    for (const char* p = begin; p < end; p = Cp932::next(p, end))
        last = p;
    return last && end - last == 1 && Cp932::isLeadByte(static_cast<unsigned char>(*last));
}

// A value as it can be stored: up to its first TAB (character-wise, as the
// reader finds it) or line break byte (byte-wise, as the reader splits lines).
std::string_view storableValue(std::string_view value)
{
    size_t cut = findChar(value, 0, "\t");
    size_t lineBreak = value.find_first_of("\r\n");
    if (lineBreak != std::string_view::npos && lineBreak < cut)
        cut = lineBreak;
    return value.substr(0, cut);
}

bool isCanonicalIndex(std::string_view digits, int32_t below)
{
    if (digits.empty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == '0'))
        return false;
    int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value < below;
}

} // namespace

bool UxRnf::KeyOrder::operator()(const std::string& a, const std::string& b) const
{
    return TextCollator::compare(a, b) < 0;
}

UxRnf::UxRnf() = default;

UxRnf::~UxRnf()
{
    // A destructor cannot pass the file layer's exception on; the user has
    // already been asked about the failure by then.
    try {
        destroy();
    } catch (const Diagnostic& error) {
        Trace::write("UxRnf: settings not written: " + error.caption() + " " + error.message() +
                     "\n");
    } catch (...) {
        Trace::write("UxRnf: settings not written\n");
    }
}

bool UxRnf::load(const char* path)
{
    m_entries.clear();
    m_path.clear();
    if (!path || !*path)
        return false;
    FCPathName resolved(path);
    if (!resolved.isAbsolute()) {
        // A drive that is not there leaves the path unresolved; writing to it
        // would go into whatever the current directory happens to be.
        Trace::write(std::string("UxRnf: cannot resolve ") + path + "\n");
        return false;
    }
    uint32_t attributes = 0;
    bool exists = fileExists(resolved.text(), &attributes);
    if (exists && (attributes & FileSystem::AttributeDirectory) != 0) {
        Trace::write("UxRnf: a folder is in the way of " + resolved.string().toStdString() + "\n");
        return false;
    }
    m_path = resolved.string();
    if (!exists)
        return false;

    FCString text;
    try {
        text.loadFile(m_path.text());
        if (text.isEmpty())
            return false;
        parse(text.view(), false);
    } catch (...) {
        // Whatever was read is incomplete: written back it would replace the
        // keys that could not be read.
        m_entries.clear();
        m_path.clear();
        throw;
    }
    return true;
}

bool UxRnf::importIni(const char* path)
{
    if (!path || !*path)
        return false;
    FCPathName resolved(path);
    if (!resolved.isAbsolute())
        return false;
    if (m_path.isEmpty()) {
        FCPathName own(resolved);
        own.replaceExtension(".configuration");
        m_path = own.string();
    }
    uint32_t attributes = 0;
    if (!fileExists(resolved.text(), &attributes) ||
        (attributes & FileSystem::AttributeDirectory) != 0)
        return false;
    FCString text;
    text.loadFile(resolved.text());
    parse(text.view(), true);
    return true;
}

void UxRnf::save(const char* path, bool deleteWhenEmpty)
{
    if (path && *path)
        m_path = FCPathName(path).string();
    if (m_path.isEmpty())
        return;
    FCString text;
    try {
        text = FCString(std::string_view(fileText()));
    } catch (const std::bad_alloc&) {
        throw NotEnoughMemoryException("UxRnf - save");
    }
    if (text.isEmpty() && deleteWhenEmpty) {
        if (fileExists(m_path.text())) {
            // Forced, so that a read-only file goes too.
            if (!FCFileUty::remove(m_path.text(), true))
                Trace::write("UxRnf: empty settings file left: " + m_path.toStdString() + "\n");
        }
        return;
    }
    text.saveFile(m_path.text());
}

void UxRnf::destroy()
{
    // Forget the binding before writing: a write that fails must not be
    // tried (and asked about) a second time by the destructor.
    FCString target = m_path;
    m_path.clear();
    bool write = m_autoSave && !target.isEmpty();
    if (write) {
        try {
            save(target.text());
        } catch (...) {
            m_entries.clear();
            m_path.clear();
            throw;
        }
    }
    m_entries.clear();
    m_path.clear();
}

bool UxRnf::getText(const char* key, int32_t index, FCString& out) const
{
    auto found = m_entries.find(composeKey(key, index));
    if (found == m_entries.end())
        return false;
    out = FCString(std::string_view(found->second));
    return true;
}

bool UxRnf::getNumber(const char* key, int32_t index, int32_t& out) const
{
    FCString value;
    if (!getText(key, index, value))
        return false;
    out = value.toInteger();
    return true;
}

bool UxRnf::getNumber(int32_t& out, const char* key, int32_t defaultValue, int32_t index,
                      bool storeDefault)
{
    if (getNumber(key, index, out))
        return true;
    out = defaultValue;
    if (storeDefault)
        setNumber(key, defaultValue, index);
    return false;
}

void UxRnf::setText(const char* key, std::string_view value, int32_t index)
{
    std::string full = composeKey(key, index);
    assert(isStorableKey(full) && "UxRnf: a key must not hold '=', blanks, TABs or line breaks");
    insert(std::move(full), storableValue(value), true);
}

void UxRnf::setNumber(const char* key, int32_t value, int32_t index)
{
    setText(key, std::string_view(std::to_string(value)), index);
}

void UxRnf::remove(const char* key, int32_t index)
{
    m_entries.erase(composeKey(key, index));
}

void UxRnf::removeIndexed(const char* key, int32_t count)
{
    if (count <= 0)
        return;
    if (count <= this->count()) {
        for (int32_t i = 0; i < count; ++i)
            remove(key, i);
        return;
    }
    std::string_view prefix(key ? key : "");
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        std::string_view name(it->first);
        if (name.substr(0, prefix.size()) == prefix &&
            isCanonicalIndex(name.substr(prefix.size()), count))
            it = m_entries.erase(it);
        else
            ++it;
    }
}

bool UxRnf::contains(const char* key, int32_t index) const
{
    return m_entries.count(composeKey(key, index)) != 0;
}

std::string UxRnf::fileText() const
{
    size_t size = 0;
    for (const auto& [key, value] : m_entries)
        size += key.size() + value.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& [key, value] : m_entries) {
        text += key;
        text += '=';
        text += value;
        text += '\n';
    }
    return text;
}

std::string UxRnf::composeKey(const char* key, int32_t index)
{
    std::string full(key ? key : "");
    if (index >= 0)
        full += std::to_string(index);
    return full;
}

bool UxRnf::isStorableKey(std::string_view key)
{
    if (key.empty() || key.find_first_of("\r\n") != std::string_view::npos)
        return false;
    int first = Cp932::codeAt(key.data(), key.data() + key.size());
    if (first == ';' || first == FullWidthBlank)
        return false;
    return findChar(key, 0, "= \t") == key.size() && !endsWithLoneLeadByte(key);
}

void UxRnf::parse(std::string_view text, bool sectioned)
{
    std::string section;
    try {
        size_t position = 0;
        while (position < text.size()) {
            // Lines end at any run of CR and LF. They are split byte-wise:
            // neither byte is ever a trail byte in Shift-JIS, and a file in
            // another encoding would otherwise lose the line that follows a
            // stray lead byte.
            size_t lineEnd = text.find_first_of("\r\n", position);
            if (lineEnd == std::string_view::npos)
                lineEnd = text.size();
            std::string_view line = trimLeading(text.substr(position, lineEnd - position));
            position = lineEnd;
            while (position < text.size() && (text[position] == '\r' || text[position] == '\n'))
                ++position;
            if (line.empty() || line[0] == ';')
                continue;

            if (sectioned && line[0] == '[') {
                size_t start = skipChars(line, 0, "[ \t");
                std::string_view name = line.substr(start, findChar(line, start, "]") - start);
                while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
                    name.remove_suffix(1);
                section.assign(name);
                continue;
            }

            size_t keyStart = skipChars(line, 0, "= \t");
            size_t keyEnd = findChar(line, keyStart, "= \t");
            if (keyEnd == keyStart)
                continue;
            std::string key(line.substr(keyStart, keyEnd - keyStart));
            size_t valueStart = skipChars(line, keyEnd, "= \t");
            std::string_view value =
                line.substr(valueStart, findChar(line, valueStart, "\t") - valueStart);

            // A key cut off in the middle of a character would be read back
            // with the "=" behind it as its trail byte.
            if (endsWithLoneLeadByte(key))
                key.pop_back();
            if (sectioned)
                key = section + "." + key;
            if (!isStorableKey(key)) {
                // Only a section name can bring in such a key; it could not
                // be read back from the settings file.
                Trace::write("UxRnf: key skipped: " + key + "\n");
                continue;
            }
            insert(std::move(key), value, sectioned);
        }
    } catch (const std::bad_alloc&) {
        throw NotEnoughMemoryException("UxRnf - load");
    }
}

void UxRnf::insert(std::string key, std::string_view value, bool overwrite)
{
    auto [it, inserted] = m_entries.try_emplace(std::move(key), value);
    if (!inserted && overwrite)
        it->second.assign(value);
}
