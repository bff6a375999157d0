#include "fc/FCPathName.h"

#include "platform/Cp932.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFolders.h"

#include <string>

namespace {

const char* const CurrentDirectoryTag = "FCPathName - create()";

// The shell's special-folder codes that are looked up by the platform.
bool isShellFolderCode(int code)
{
    return (code >= 0 && code <= 9) || (code >= 11 && code <= 14) || code == 16 ||
           (code >= 19 && code <= 40) || code == 43 || (code >= 45 && code <= 49) ||
           (code >= 53 && code <= 56) || code == 59 || code == 61;
}

bool isCurrentDirectoryCode(int code)
{
    return code == 30585 || (code >= 30588 && code <= 30592);
}

// Whether the last character of text is a single-byte "/".
bool endsWithSeparator(std::string_view text)
{
    if (text.empty())
        return false;
    const char* begin = text.data();
    const char* end = begin + text.size();
    const char* last = Cp932::prev(begin, end, end);
    return end - last == 1 && *last == '/';
}

// The current directory with a trailing "/"; false (and the user told) when
// it cannot be read.
bool currentDirectoryWithSeparator(std::string& out)
{
    if (!FileSystem::currentDirectory(out)) {
        FCString::showLastError(CurrentDirectoryTag);
        return false;
    }
    if (!endsWithSeparator(out))
        out += '/';
    return true;
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equality of two CP932 texts with ASCII letters compared without case; the
// bytes of double-byte characters are compared as they are.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    const char* p = a.data();
    const char* end = p + a.size();
    const char* q = b.data();
    while (p < end) {
        int length = Cp932::charLength(p, end);
        if (length == 1) {
            if (asciiLower(*p) != asciiLower(*q))
                return false;
        } else if (p[0] != q[0] || p[1] != q[1]) {
            return false;
        }
        p += length;
        q += length;
    }
    return true;
}

// Byte position of the last single-byte "." at or after from, or -1.
int32_t lastDot(std::string_view text, int32_t from)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    int32_t found = -1;
    for (const char* p = begin + from; p < end; p = Cp932::next(p, end)) {
        if (*p == '.' && Cp932::charLength(p, end) == 1)
            found = static_cast<int32_t>(p - begin);
    }
    return found;
}

} // namespace

FCPathName::FCPathName()
{
    setCurrentDirectory();
}

FCPathName::FCPathName(int specialFolder)
{
    setSpecialFolder(specialFolder);
}

FCPathName::FCPathName(const char* text)
{
    set(text);
}

FCPathName::FCPathName(const FCString& text)
{
    set(text);
}

FCPathName::~FCPathName() = default;

void FCPathName::assign(std::string_view text)
{
    m_path.create(512, text);
}

void FCPathName::setRelative(const FCPathName& other)
{
    setRelative(other.text());
}

void FCPathName::setRelative(const char* text)
{
    std::string path;
    if (!currentDirectoryWithSeparator(path)) {
        assign({});
        return;
    }
    if (text)
        path += text;
    assign(path);
}

void FCPathName::set(const FCString& text)
{
    set(text.text());
}

void FCPathName::set(const char* text)
{
    if (!text) {
        setCurrentDirectory();
        return;
    }
    std::string_view given(text);

    if (given.starts_with("%:")) {
        std::string drive = ProgramFolders::opticalDrive();
        if (drive.empty()) {
            // Without a disc there is nothing to resolve against; the text is
            // kept so that the caller's later error names what was asked for.
            assign(given);
            return;
        }
        std::string_view rest = given.substr(2);
        if (rest.starts_with('/'))
            rest.remove_prefix(1);
        assign(drive.append(rest));
        return;
    }

    if (given.starts_with('/')) {
        assign(given);
        return;
    }

    if (given == "~" || given.starts_with("~/")) {
        std::string home = ProgramFolders::homeFolder();
        if (home.empty()) {
            assign(given);
            return;
        }
        // "~" alone names a folder, so it gets its separator like every
        // folder path built here.
        std::string_view rest = given.size() == 1 ? std::string_view("/") : given.substr(1);
        if (endsWithSeparator(home))
            rest.remove_prefix(1);
        assign(home.append(rest));
        return;
    }

    std::string path;
    if (!currentDirectoryWithSeparator(path)) {
        assign({});
        return;
    }
    assign(path.append(given));
}

void FCPathName::setSpecialFolder(int code, bool withSeparator)
{
    assign({});

    if (isShellFolderCode(code)) {
        std::string folder;
        if (!ProgramFolders::shellFolder(code, folder) || folder.empty())
            return;
        set(folder.c_str());
        if (withSeparator)
            addSeparator();
        return;
    }

    if (isCurrentDirectoryCode(code)) {
        setCurrentDirectory();
        return;
    }

    switch (code) {
    case ProgramFile:
        assign(ProgramFolders::programFile());
        break;
    case ProgramFolder: {
        std::string folder = ProgramFolders::programFolder();
        // The root folder keeps its "/": without it the path would be empty.
        if (!withSeparator && folder.size() > 1 && endsWithSeparator(folder))
            folder.pop_back();
        assign(folder);
        break;
    }
    case WindowsFolder:
        assign(withSeparator ? "/etc/" : "/etc");
        break;
    case SystemFolder:
        assign(withSeparator ? "/usr/lib/" : "/usr/lib");
        break;
    default:
        break;
    }
}

void FCPathName::setSpecialFolder(int code)
{
    setSpecialFolder(code, true);
}

void FCPathName::setCurrentDirectory()
{
    std::string path;
    if (!currentDirectoryWithSeparator(path)) {
        assign({});
        return;
    }
    assign(path);
}

bool FCPathName::endsWithoutSeparator() const
{
    return !isEmpty() && !endsWithSeparator(m_path.view());
}

void FCPathName::addSeparator()
{
    if (endsWithoutSeparator())
        m_path.append("/");
}

int32_t FCPathName::lastSeparator() const
{
    std::string_view text = m_path.view();
    const char* begin = text.data();
    const char* end = begin + text.size();
    int32_t found = -1;
    for (const char* p = begin; p < end; p = Cp932::next(p, end)) {
        if (*p == '/' && Cp932::charLength(p, end) == 1)
            found = static_cast<int32_t>(p - begin);
    }
    return found;
}

void FCPathName::replaceExtension(const char* extension)
{
    if (!endsWithoutSeparator())
        return;
    std::string_view text = m_path.view();
    int32_t dot = lastDot(text, lastSeparator() + 1);
    std::string path(dot < 0 ? text : text.substr(0, static_cast<size_t>(dot)));
    if (extension)
        path += extension;
    assign(path);
}

bool FCPathName::hasExtension(const char* extension) const
{
    if (!extension || !endsWithoutSeparator())
        return false;
    int32_t separator = lastSeparator();
    if (separator < 0)
        return false;
    std::string_view text = m_path.view();
    int32_t dot = lastDot(text, separator + 1);
    if (dot < 0)
        return false;
    return equalsIgnoringAsciiCase(text.substr(static_cast<size_t>(dot) + 1), extension);
}

void FCPathName::directoryPart(FCString& out, bool withSeparator) const
{
    int32_t separator = lastSeparator();
    if (separator < 0)
        return;
    size_t length = static_cast<size_t>(separator) + (withSeparator ? 1 : 0);
    out.create(512, m_path.view().substr(0, length));
}

FCString FCPathName::fileNamePart() const
{
    int32_t separator = lastSeparator();
    return FCString(m_path.view().substr(static_cast<size_t>(separator + 1)));
}
