#include "voices/VoicePatternSetting.h"

#include "fc/Diagnostic.h"
#include "fc/FCString.h"
#include "fc/UxRnf.h"
#include "format/PrintSettingsStore.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "platform/WinError.h"

namespace {

// The folder's settings file, when it is one (or is not there yet): a FIFO
// or a folder under that name is never opened.
bool settingsPath(const std::string& folder, std::string& path)
{
    std::string withSeparator = folder;
    if (withSeparator.empty() || withSeparator.back() != '/')
        withSeparator += '/';
    path = PrintSettingsStore::pathIn(FCString(std::string_view(withSeparator))).toStdString();
    FileSystem::EntryKind kind;
    const uint32_t error = FileSystem::entryKind(path, kind);
    if (error == WinError::FileNotFound)
        return true;
    return error == WinError::Success && kind == FileSystem::EntryKind::File;
}

} // namespace

std::string VoicePatternSetting::load(const std::string& folder)
{
    std::string path;
    if (!settingsPath(folder, path))
        return {};
    try {
        UxRnf store;
        store.setAutoSave(false);
        store.load(path.c_str());
        FCString value;
        if (!store.getText(Key, value))
            return {};
        return TextCodec::toUtf8(value.view());
    } catch (const Diagnostic&) {
        return {};
    }
}

bool VoicePatternSetting::save(const std::string& folder, const std::string& pattern)
{
    std::string stored;
    if (!TextCodec::fromUtf8Exact(pattern, stored))
        return false;
    std::string path;
    if (!settingsPath(folder, path))
        return false;
    try {
        UxRnf store;
        store.setAutoSave(false);
        store.load(path.c_str());
        if (store.path().isEmpty())
            return false; // Unreadable: writing would lose its other keys.
        FCString current;
        const bool had = store.getText(Key, current);
        if (stored.empty() ? !had : had && current.view() == stored)
            return true;
        if (stored.empty())
            store.remove(Key);
        else
            store.setText(Key, stored);
        store.save();
        return true;
    } catch (const Diagnostic&) {
        return false;
    }
}
