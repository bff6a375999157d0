#include "fc/FCFileUty.h"

#include "fc/FCFileEnumeration.h"
#include "fc/FCPathName.h"
#include "platform/FileSystem.h"
#include "platform/Prompt.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"
#include "platform/Trace.h"
#include "platform/WinError.h"

#include <string>
#include <string_view>
#include <sys/stat.h>

namespace {

const char* const Title = "FCFileUty - remove";

// What one removal carries through its recursion. The force flag is shared:
// once the user agreed to force one entry, the rest of the removal is forced
// too instead of asking again for every read-only file.
struct Removal {
    bool force;
    FCFileUty::ErrorHandler handler;
    void* user;
};

// The path without the "/" that marks a folder.
std::string withoutSeparator(std::string_view path)
{
    if (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path);
}

// Folder entries that are symbolic links must be removed as links: walking
// into them would delete the contents of a folder outside the tree.
bool isSymbolicLink(std::string_view path)
{
    std::string utf8;
    if (!TextCodec::toUtf8Exact(withoutSeparator(path), utf8))
        return false;
    struct stat status {};
    return ::lstat(utf8.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

bool isReadOnly(std::string_view path)
{
    uint32_t attributes = 0;
    return FileSystem::attributes(path, attributes) == WinError::Success &&
           (attributes & FileSystem::AttributeReadOnly) != 0;
}

void clearReadOnly(std::string_view path)
{
    if (isReadOnly(path))
        FileSystem::setAttributes(path, FileSystem::AttributeNormal);
}

// Deletes one file or one (emptied) folder, asking the handler on failure.
int deleteEntry(Removal& removal, FCFileUty::EntryKind kind, const FCString& path)
{
    for (;;) {
        if (removal.force)
            clearReadOnly(path.view());
        uint32_t error = kind == FCFileUty::EntryKind::File
                             ? FileSystem::deleteFile(path.view())
                             : FileSystem::removeDirectory(path.view());
        if (error == WinError::Success)
            return FCFileUty::Done;
        int answer = removal.handler(kind, removal.force, error, path, removal.user);
        if (answer == FCFileUty::ForceAndRetry)
            removal.force = true;
        else if (answer != FCFileUty::Retry)
            return answer;
    }
}

// A read-only folder keeps its entries from being deleted on this system
// (unlike Windows, where only the folder itself is protected), so the
// question about forcing comes before its entries are visited.
int unlockFolder(Removal& removal, const FCString& folder)
{
    for (;;) {
        if (!isReadOnly(folder.view()))
            return FCFileUty::Done;
        if (removal.force) {
            clearReadOnly(folder.view());
            return FCFileUty::Done;
        }
        int answer = removal.handler(FCFileUty::EntryKind::Folder, false, WinError::AccessDenied,
                                     folder, removal.user);
        if (answer == FCFileUty::ForceAndRetry)
            removal.force = true;
        else if (answer != FCFileUty::Retry)
            return answer;
    }
}

int removePath(Removal& removal, const FCPathName& path);

int removeFolder(Removal& removal, const FCPathName& folder)
{
    int unlocked = unlockFolder(removal, folder.string());
    if (unlocked != FCFileUty::Done)
        return unlocked;
    {
        std::string pattern = folder.string().toStdString() + "*.*";
        FCFileEnumeration entries(pattern.c_str());
        while (entries.next()) {
            FCPathName entry(entries.currentPath());
            if (removePath(removal, entry) == FCFileUty::Abort)
                return FCFileUty::Abort;
        }
    }
    return deleteEntry(removal, FCFileUty::EntryKind::Folder, folder.string());
}

int removePath(Removal& removal, const FCPathName& path)
{
    if (!path.isAbsolute()) {
        // An optical drive that is not there leaves the path unresolved; it
        // must not be taken against the current directory.
        return removal.handler(path.endsWithoutSeparator() ? FCFileUty::EntryKind::File
                                                           : FCFileUty::EntryKind::Folder,
                               removal.force, WinError::PathNotFound, path.string(), removal.user);
    }
    if (path.endsWithoutSeparator())
        return deleteEntry(removal, FCFileUty::EntryKind::File, path.string());
    if (isSymbolicLink(path.string().view())) {
        FCString link(withoutSeparator(path.string().view()));
        return deleteEntry(removal, FCFileUty::EntryKind::File, link);
    }
    return removeFolder(removal, path);
}

std::string decimal(uint32_t value)
{
    return std::to_string(value);
}

Prompt::Answer ask(const std::string& text, Prompt::Buttons buttons)
{
    return Prompt::current().ask(Title, text, buttons);
}

} // namespace

bool FCFileUty::remove(const char* path, bool force, ProgressCallback progress,
                       ErrorHandler errorHandler, void* user)
{
    // An empty text would resolve to the current directory and remove it
    // with everything in it.
    if (!path || !*path) {
        Trace::write("FCFileUty::remove: no path given, nothing removed\n");
        return false;
    }
    Removal removal{force, errorHandler ? errorHandler : &FCFileUty::defaultErrorHandler, user};
    FCPathName resolved(path);
    if (progress)
        progress(Stage::Started, resolved.string(), user);
    int result = removePath(removal, resolved);
    if (progress)
        progress(Stage::Finished, resolved.string(), user);
    return result == Done;
}

int FCFileUty::defaultErrorHandler(EntryKind, bool forced, uint32_t error, const FCString& path,
                                   void*)
{
    std::string text = path.toStdString();
    switch (error) {
    case WinError::FileNotFound:
    case WinError::PathNotFound:
    case WinError::BadNetworkPath:
    case WinError::BadNetworkName:
        text += Sjis::of(" が\n見つかりません。削除を中断します。");
        text += "error code: " + decimal(error);
        ask(text, Prompt::Buttons::Ok);
        return Abort;
    case WinError::AccessDenied:
        if (!forced && isReadOnly(path.view())) {
            text += Sjis::of(" は\n読み込み専用です。強制削除を試みますか？");
            if (ask(text, Prompt::Buttons::YesNo) == Prompt::Answer::Yes)
                return ForceAndRetry;
            return ask(Sjis::of("削除処理を中断しますか？"), Prompt::Buttons::YesNo) ==
                           Prompt::Answer::Yes
                       ? Abort
                       : Skipped;
        }
        text += Sjis::of(" への\nアクセスが拒否されました。削除を中止します。");
        ask(text, Prompt::Buttons::Ok);
        return Abort;
    case WinError::SharingViolation:
        text += Sjis::of(" は\n他のアプリケーションで利用されているため削除できません。");
        return ask(text, Prompt::Buttons::RetryCancel) == Prompt::Answer::Retry ? Retry : Skipped;
    case WinError::DirectoryNotEmpty:
        text += Sjis::of(" は\n空ではありません。処理を中断しますか？");
        return ask(text, Prompt::Buttons::YesNo) == Prompt::Answer::Yes ? Abort : Skipped;
    default:
        text += Sjis::of(" の\n削除に失敗しました。削除を中断します。\n");
        text += "error code: " + decimal(error);
        ask(text, Prompt::Buttons::Ok);
        return Abort;
    }
}
