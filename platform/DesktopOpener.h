#pragma once

#include <string_view>

// Shows a file or an address in the desktop's viewer for its type, as the
// shell's "open" does: through xdg-open, waited for.
namespace DesktopOpener {

// path is CP932 (a file) or an address; false when xdg-open could not
// be started or reported a failure.
[[nodiscard]] bool open(std::string_view cp932);

} // namespace DesktopOpener
