#pragma once

#include <cstdint>
#include <string>

// The main window's last normal rectangle, in pixels.
struct WindowRectangle {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const WindowRectangle&) const = default;
};

// The window rectangle kept in "quillon.configuration" in the program's
// folder under system.sx, system.sy, system.sw and system.sh. The window
// calls are the caller's: this class only hands over and takes rectangles.
namespace WindowConfiguration {

// Reads the configuration file; when it is missing or empty, takes the
// rectangle over from an old "quillon.ini" once (section [system]) and
// deletes that; without either the rectangle is all zeros. Missing keys
// are 0 and are written into the file, which always exists afterwards.
WindowRectangle restore();
// Stores the rectangle, keeping every other key of the file.
void save(const WindowRectangle& rectangle);

std::string configurationPath();
std::string oldIniPath();

} // namespace WindowConfiguration
