#include "platform/ProgramFolders.h"

#include "platform/FileSystem.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// The placement a scope put in force; none while the folder is empty.
std::mutex overrideMutex;
std::string overriddenFolder;
std::string overriddenNote;

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string withTrailingSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path.push_back('/');
    return path;
}

std::string join(const std::string& folder, const char* name)
{
    return folder == "/" ? folder + name : folder + "/" + name;
}

std::string homeUtf8()
{
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return home;
    std::vector<char> buffer(16384);
    passwd entry;
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && found->pw_dir[0] == '/')
        return found->pw_dir;
    return {};
}

std::string executableFolderUtf8()
{
    std::vector<char> buffer(4096);
    while (true) {
        ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size()) {
            std::string path(buffer.data(), static_cast<std::size_t>(n));
            std::size_t slash = path.find_last_of('/');
            if (slash == std::string::npos)
                return {};
            return slash == 0 ? "/" : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

// mkdir -p on a UTF-8 path; folders that exist already are fine.
void createFolders(const std::string& utf8)
{
    for (std::size_t at = 1; at <= utf8.size(); ++at) {
        if (at == utf8.size() || utf8[at] == '/')
            ::mkdir(utf8.substr(0, at).c_str(), 0777);
    }
}

// The mount table escapes blanks and backslashes in its fields as octal
// ("\040" for a space).
std::string unescapeMountField(std::string_view field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
            field[i + 1] <= '3' && field[i + 2] >= '0' && field[i + 2] <= '7' &&
            field[i + 3] >= '0' && field[i + 3] <= '7') {
            out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                            (field[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

// The folder chosen for the program's own files, and when it is not the
// program's folder, why (CP932, for the messages about those files).
struct Placement {
    std::string folder;
    std::string note;
};

Placement choosePlacement()
{
    std::string utf8 = executableFolderUtf8();
    std::string cp932;
    bool named = !utf8.empty() && TextCodec::fromUtf8Exact(utf8, cp932);
    if (named && ::access(utf8.c_str(), W_OK) == 0)
        return {withTrailingSlash(cp932), {}};
    std::string programFolder = utf8.empty() ? std::string(Sjis::of("（不明）"))
                                             : withTrailingSlash(TextCodec::fromUtf8(utf8));
    std::string note =
        Sjis::of("\nプログラムのフォルダ ") + programFolder + Sjis::of(" には書き込めません");
    std::string config = ProgramFolders::configFolder();
    if (!config.empty())
        return {config, note + Sjis::of("。代わりに ") + config + Sjis::of(" を使っています")};
    note += Sjis::of("。代わりに使うホームフォルダもありません（HOME が設定されていないか、"
                     "Shift-JIS で表せない名前です）");
    // Neither place will take files; the program's folder is still the
    // right place to look for them, and writing there reports its errors.
    if (named)
        return {withTrailingSlash(cp932), note};
    std::string current;
    if (FileSystem::currentDirectory(current)) {
        current = withTrailingSlash(current);
        return {current,
                note + Sjis::of("。現在のフォルダ ") + current + Sjis::of(" を使っています")};
    }
    return {"/", note};
}

const Placement& placement()
{
    static const Placement chosen = choosePlacement();
    return chosen;
}

} // namespace

std::string ProgramFolders::programFolder()
{
    {
        std::lock_guard<std::mutex> lock(overrideMutex);
        if (!overriddenFolder.empty())
            return overriddenFolder;
    }
    return placement().folder;
}

std::string ProgramFolders::placementNote()
{
    {
        std::lock_guard<std::mutex> lock(overrideMutex);
        if (!overriddenFolder.empty())
            return overriddenNote;
    }
    return placement().note;
}

std::string ProgramFolders::programFile()
{
    return programFolder() + "quillon";
}

ProgramFolders::Scope::Scope(const std::string& folder, const std::string& note)
{
    std::lock_guard<std::mutex> lock(overrideMutex);
    // An empty folder stands for the program's own placement.
    m_previousFolder =
        std::exchange(overriddenFolder, folder.empty() ? std::string() : withTrailingSlash(folder));
    m_previousNote = std::exchange(overriddenNote, note);
}

ProgramFolders::Scope::~Scope()
{
    std::lock_guard<std::mutex> lock(overrideMutex);
    overriddenFolder = std::move(m_previousFolder);
    overriddenNote = std::move(m_previousNote);
}

std::string ProgramFolders::homeFolder()
{
    std::string utf8 = homeUtf8();
    std::string cp932;
    if (utf8.empty() || !TextCodec::fromUtf8Exact(withoutTrailingSlash(utf8), cp932))
        return {};
    return cp932;
}

std::string ProgramFolders::configFolder()
{
    std::string home = homeFolder();
    if (home.empty())
        return {};
    std::string folder = join(home, ".config/quillon");
    std::string utf8;
    if (TextCodec::toUtf8Exact(folder, utf8))
        createFolders(utf8);
    return folder + "/";
}

bool ProgramFolders::shellFolder(int code, std::string& path)
{
    const char* below = nullptr;
    switch (code) {
    case 0:
        below = "Desktop";
        break;
    case 5:
        below = "Documents";
        break;
    case 26:
        below = ".config";
        break;
    case 28:
        below = ".local/share";
        break;
    case 40:
        break;
    default:
        return false;
    }
    std::string home = homeFolder();
    if (home.empty())
        return false;
    path = below ? join(home, below) : home;
    return true;
}

std::string ProgramFolders::opticalDriveIn(std::string_view mounts)
{
    while (!mounts.empty()) {
        std::size_t end = mounts.find('\n');
        std::string_view line = mounts.substr(0, end);
        mounts = end == std::string_view::npos ? std::string_view() : mounts.substr(end + 1);

        std::string_view fields[3];
        std::size_t count = 0;
        std::size_t at = 0;
        while (count < 3 && at < line.size()) {
            std::size_t start = line.find_first_not_of(" \t", at);
            if (start == std::string_view::npos)
                break;
            std::size_t stop = line.find_first_of(" \t", start);
            if (stop == std::string_view::npos)
                stop = line.size();
            fields[count++] = line.substr(start, stop - start);
            at = stop;
        }
        if (count < 3)
            continue;
        bool optical =
            fields[2] == "iso9660" || fields[2] == "udf" || fields[0].substr(0, 7) == "/dev/sr";
        if (!optical)
            continue;
        std::string cp932;
        if (TextCodec::fromUtf8Exact(unescapeMountField(fields[1]), cp932) && !cp932.empty())
            return withTrailingSlash(cp932);
    }
    return {};
}

std::string ProgramFolders::opticalDrive()
{
    // Read directly rather than through FileSystem, so that looking for the
    // disc neither sets the last error nor uses up a test's file faults.
    static const std::string drive = [] {
        std::ifstream mounts("/proc/mounts", std::ios::binary);
        std::ostringstream text;
        text << mounts.rdbuf();
        return opticalDriveIn(text.str());
    }();
    return drive;
}
