#include "ui/ListGauge.h"

#include <algorithm>

namespace {

ListGauge::Rect inset(const ListGauge::Rect& r, int left, int top, int right, int bottom)
{
    return {r.x + left, r.y + top, std::max(0, r.width - left - right),
            std::max(0, r.height - top - bottom)};
}

} // namespace

ListGauge::Layout ListGauge::layout(const Rect& cell, int percent)
{
    percent = std::clamp(percent, 0, 100);
    Layout result;
    result.frame = inset(cell, 2, 0, 2, 2);
    result.inside = inset(result.frame, 1, 1, 1, 1);
    result.filled = inset(result.inside, 1, 1, 0, 0);
    result.filled.width = result.filled.width * percent / 100;
    return result;
}

std::string ListGauge::label(std::string_view format, std::string_view fixedLabel, int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (percent == 0 && !fixedLabel.empty())
        return std::string(fixedLabel);
    if (format.empty())
        format = DefaultFormat;
    std::string out;
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        const char next = i + 1 < format.size() ? format[i + 1] : '\0';
        if (c == '%' && next == 'd') {
            out += std::to_string(percent);
            ++i;
        } else if (c == '%' && next == '%') {
            out += '%';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}
