#pragma once

#include "fc/FCString.h"

class PrintFormat;
class RunSettings;
class ScriptInfo;
class SuppressedCharacters;

// What print runs, estimates, check lists and the character selection work
// with, besides the catalogue they are handed: the loaded scenario folder
// (ending with "/"), its totals, the print format, the run settings and the
// characters suppressed in all files. The desktop program and the batch
// tool each hold these for the whole run and hand them over by reference;
// nothing here is owned.
struct ScenarioContext {
    const FCString& folder;
    const ScriptInfo& totals;
    const PrintFormat& format;
    const RunSettings& run;
    const SuppressedCharacters& suppressed;
};
