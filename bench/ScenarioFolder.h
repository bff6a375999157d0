#pragma once

#include <string>

// A scenario folder of generated screenplay files for the folder-load
// benchmarks: files scenes with a few characters and a short body each, as
// the converter writes them. Made on first use of a size and removed at
// exit; the path ends with "/".
const std::string& benchScenarioFolder(int files);
