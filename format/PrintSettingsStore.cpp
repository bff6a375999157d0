#include "format/PrintSettingsStore.h"

#include "fc/FCPathName.h"
#include "fc/UxRnf.h"
#include "format/PrintFormat.h"
#include "platform/FileSystem.h"
#include "platform/WinError.h"

#include <string_view>

namespace {

const char* const KeyMode = "mode";
const char* const KeyDefaultFont = "defaultFont";
const char* const KeyFlags = "flags";
const char* const KeyDevice = "device";
const char* const KeyLogName = "logName";
const char* const KeyDestFolder = "destFolder";
const char* const KeyCustomFontName = "custom.fontName";
const char* const KeyCustomWeight = "custom.weight";
const char* const KeyFontSize = "custom.fontSize";
const char* const KeyLineWidth = "custom.lineWidth";
const char* const KeyLinesPerPage = "custom.linesPerPage";
const char* const KeyCharsPerLine = "custom.charsPerLine";
const char* const KeyModeEmphasis = "custom.modeEmphasis";
const char* const KeyColEmphasis = "custom.colEmphasis";
// Written after the keys above, so that files of earlier versions keep their
// order; a file without it reads as one file per script.
const char* const KeyBundleByActor = "pdf.bundleByActor";
// Likewise; a file without them reads as the plain grid.
const char* const KeyKinsoku = "layout.kinsoku";
const char* const KeyUprightDigits = "layout.uprightDigits";
const char* const KeyRuby = "layout.ruby";
// Written only once it differs from one per core (or is already there), so
// that the files of folders that never set it stay as they were.
const char* const KeyJobs = "print.jobs";
const char* const KeySuppressed = "NPChara";
const char* const KeySuppressedCount = "NPNumber";

// Reads a number into a field through its setter when the key is there.
template <typename Setter> void readNumber(const UxRnf& store, const char* key, Setter set)
{
    int32_t value = 0;
    if (store.getNumber(key, value))
        set(value);
}

template <typename Setter>
void readNumber(const UxRnf& store, const char* key, int32_t index, Setter set)
{
    int32_t value = 0;
    if (store.getNumber(key, index, value))
        set(value);
}

} // namespace

FCString PrintSettingsStore::pathIn(const FCString& folder)
{
    FCString path = folder;
    path.append(FileName);
    return path;
}

void PrintSettingsStore::save(const PrintFormat& format, const char* path)
{
    if (!path || !*path)
        return;
    UxRnf store;
    store.load(path);

    store.setNumber(KeyMode, format.mode());
    for (int face = 0; face < PrintFormat::FaceCount; ++face)
        store.setText(KeyDefaultFont, format.defaultFont(face), face);
    store.setNumber(KeyFlags, static_cast<int32_t>(format.flags()));
    store.setNumber(KeyDevice, storedNumberOf(format.device()));
    store.setText(KeyLogName, format.logName());
    store.setText(KeyDestFolder, format.destFolder());
    for (int face = 0; face < PrintFormat::FaceCount; ++face)
        store.setText(KeyCustomFontName, format.customFontName(face), face);
    for (int face = 0; face < PrintFormat::FaceCount; ++face)
        store.setNumber(KeyCustomWeight, format.customWeight(face), face);
    store.setNumber(KeyFontSize, format.customFontSize());
    store.setNumber(KeyLineWidth, format.customLineWidth());
    store.setNumber(KeyLinesPerPage, format.customLinesPerPage());
    store.setNumber(KeyCharsPerLine, format.customCharsPerLine());
    store.setNumber(KeyModeEmphasis, format.customModeEmphasis());
    store.setNumber(KeyColEmphasis, format.customColEmphasis());
    store.setNumber(KeyBundleByActor, format.bundleByActor() ? 1 : 0);
    const TypesettingOptions& typesetting = format.typesetting();
    store.setNumber(KeyKinsoku, static_cast<int32_t>(typesetting.lineBreaking));
    store.setNumber(KeyUprightDigits, typesetting.uprightDigits ? 1 : 0);
    store.setNumber(KeyRuby, typesetting.ruby ? 1 : 0);
    int32_t storedJobs = 0;
    if (format.jobs() != 0 || store.getNumber(KeyJobs, storedJobs))
        store.setNumber(KeyJobs, format.jobs());

    // Only the entries the last save wrote are taken away: hand-written ones
    // beyond them stay.
    int32_t written = 0;
    if (store.getNumber(KeySuppressedCount, written))
        store.removeIndexed(KeySuppressed, written);
    const auto& names = format.suppressedNames();
    for (size_t i = 0; i < names.size(); ++i)
        store.setText(KeySuppressed, names[i], static_cast<int32_t>(i));
    store.setNumber(KeySuppressedCount, static_cast<int32_t>(names.size()));

    store.destroy();
}

bool PrintSettingsStore::load(PrintFormat& format, const char* path)
{
    if (!path || !*path)
        return true;
    // Reading a FIFO could hang, and writing back into a folder or a device
    // would only fail; a missing file is no obstacle, the save creates it.
    FileSystem::EntryKind kind = FileSystem::EntryKind::File;
    if (FileSystem::entryKind(FCPathName(path).string().view(), kind) == WinError::Success &&
        kind != FileSystem::EntryKind::File)
        return false;
    UxRnf store;
    store.load(path);

    FCString text;
    readNumber(store, KeyMode, [&](int32_t v) { format.setMode(v); });
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        if (store.getText(KeyDefaultFont, face, text))
            format.setDefaultFont(face, text);
    }
    readNumber(store, KeyFlags, [&](int32_t v) { format.setFlags(static_cast<uint32_t>(v)); });
    readNumber(store, KeyDevice, [&](int32_t v) { format.setDevice(outputDeviceOf(v)); });
    if (store.getText(KeyLogName, text))
        format.setLogName(text);
    if (store.getText(KeyDestFolder, text))
        format.setDestFolder(text);
    // Face and weight have separate keys, so either may be missing alone.
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        if (store.getText(KeyCustomFontName, face, text))
            format.setCustomFont(face, text, format.customWeight(face));
    }
    for (int face = 0; face < PrintFormat::FaceCount; ++face) {
        readNumber(store, KeyCustomWeight, face,
                   [&](int32_t v) { format.setCustomFont(face, format.customFontName(face), v); });
    }
    readNumber(store, KeyFontSize, [&](int32_t v) { format.setCustomFontSize(v); });
    readNumber(store, KeyLineWidth, [&](int32_t v) { format.setCustomLineWidth(v); });
    readNumber(store, KeyLinesPerPage, [&](int32_t v) { format.setCustomLinesPerPage(v); });
    readNumber(store, KeyCharsPerLine, [&](int32_t v) { format.setCustomCharsPerLine(v); });
    readNumber(store, KeyModeEmphasis, [&](int32_t v) { format.setCustomModeEmphasis(v); });
    readNumber(store, KeyColEmphasis, [&](int32_t v) { format.setCustomColEmphasis(v); });
    readNumber(store, KeyBundleByActor, [&](int32_t v) { format.setBundleByActor(v != 0); });
    TypesettingOptions typesetting = format.typesetting();
    readNumber(store, KeyKinsoku, [&](int32_t v) {
        typesetting.lineBreaking = TypesettingOptions::lineBreakingOf(v);
    });
    readNumber(store, KeyUprightDigits, [&](int32_t v) { typesetting.uprightDigits = v != 0; });
    readNumber(store, KeyRuby, [&](int32_t v) { typesetting.ruby = v != 0; });
    format.setTypesetting(typesetting);
    readNumber(store, KeyJobs, [&](int32_t v) { format.setJobs(v); });

    FCString suppressed;
    for (int32_t i = 0; store.getText(KeySuppressed, i, text); ++i) {
        suppressed.append(text.view());
        suppressed.append("\n");
    }
    format.setSuppressedText(suppressed);

    store.destroy();
    return true;
}
