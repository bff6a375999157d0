#pragma once

#include "ui/UxListViewControl.h"

#include <string>
#include <string_view>

// The geometry and label of a gauge cell (a bar showing a percentage) in the
// program's lists, apart from any drawing toolkit. Rectangles are in pixels,
// x to the right and y downwards, width and height never negative.
namespace ListGauge {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

struct Layout {
    // The 1-pixel frame: the cell narrowed by 2 pixels left, right and
    // at the bottom.
    Rect frame;
    // Inside the frame, light grey; its top row and left column carry
    // the black shadow line.
    Rect inside;
    // The part inside the shadow filled up to the percentage.
    Rect filled;
};

inline constexpr UxListViewControl::Colour InsideColour = UxListViewControl::rgb(0xE0, 0xE0, 0xE0);
inline constexpr const char* DefaultFormat = "%d%%";

// percent is clamped to 0-100.
Layout layout(const Rect& cell, int percent);

// The label, percent clamped to 0-100: the fixed label when it is 0 and one is given;
// otherwise the format (empty = "%d%%") with "%d" replaced by the
// percent and "%%" by "%". Any other "%" is kept as written, so that a
// pattern can never read what is not there.
std::string label(std::string_view format, std::string_view fixedLabel, int percent);

} // namespace ListGauge
