#pragma once

#include "fc/FCString.h"

#include <cstdint>

// Removal of a file, or of a folder with everything in it.
namespace FCFileUty {

// The result of every step of a removal, and the answers of an error
// handler.
inline constexpr int Done = 0;
inline constexpr int Skipped = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int ForceAndRetry = 4100;

enum class EntryKind { File, Folder };
enum class Stage { Started, Finished };

// Told the start and the end of the whole removal, with the resolved path.
using ProgressCallback = void (*)(Stage stage, const FCString& path, void* user);
// Called when an entry cannot be deleted: kind of entry, whether the force
// flag was already set, the Windows error number and the entry's path.
// Answers ForceAndRetry (set the force flag and try again), Retry, or
// anything else to end that entry's removal with the answer as its
// result (Skipped goes on with the next entry, Abort stops everything).
using ErrorHandler = int (*)(EntryKind kind, bool forced, uint32_t error, const FCString& path,
                             void* user);

// A path ending with "/" is a folder and is removed with all its entries
// (dot-named entries are not visited, so such a folder stays, and says
// so). The force flag clears read-only attributes before deleting; it
// holds for the rest of the removal once set. Without a handler the
// default one asks the user. user is passed to both callbacks. True only
// when everything was removed. Symbolic links are removed themselves,
// never what they point to. An absent or empty path removes nothing.
bool remove(const char* path, bool force = false, ProgressCallback progress = nullptr,
            ErrorHandler errorHandler = nullptr, void* user = nullptr);

// Boxes titled "FCFileUty - remove" that explain the failure and let the
// user choose where the failure allows a choice.
int defaultErrorHandler(EntryKind kind, bool forced, uint32_t error, const FCString& path,
                        void* user);

} // namespace FCFileUty
