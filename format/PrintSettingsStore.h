#pragma once

#include "fc/FCString.h"

class PrintFormat;

// The print format of a scenario folder, kept in that folder's
// "quillon.settings.rnf". Keys written by others survive a save.
namespace PrintSettingsStore {

inline constexpr const char* FileName = "quillon.settings.rnf";

// The settings file of a folder: the folder path followed directly by
// the file name.
FCString pathIn(const FCString& folder);

// Both do nothing for an absent or empty path.
void save(const PrintFormat& format, const char* path);
// Keys missing from the file leave their fields as they were; the
// suppressed characters are replaced by NPChara0, NPChara1, ... up to the
// first missing index. The file is written back in its normal form (an
// empty one where there was none). False when path names a folder, a
// FIFO or anything else that is no file: it is neither read nor written
// and format stays as it was (the caller tells the user).
bool load(PrintFormat& format, const char* path);

} // namespace PrintSettingsStore
