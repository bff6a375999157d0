#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class FontHandle;
typedef struct _FcConfig FcConfig;

// Finds and opens the program's fonts. It keeps its own fontconfig
// configuration: the system's fonts.conf followed by the aliases shipped with
// the program (Windows face names to free faces), so that the program sees
// the aliases while the system's configuration and every other program stay
// untouched.
//
// Fonts are described as a LOGFONT describes them. Handles are shared within
// a thread: the same description gives the same handle, glyph cache
// included, for as long as someone holds it (and a few more after), so that
// drawing page after page does not shape and rasterise the same characters
// again. Each thread has handles of its own, opened in a FreeType library of
// its own: pages drawn side by side never share a face or a glyph cache.
class FontEngine {
public:
    // The process's engine, made on first use. It is never destroyed: fonts
    // handed out may live until the very end of the process.
    static FontEngine& instance();

    // face: CP932, "@" + name for the vertical variant of name; empty for the
    // system's choice. height: LOGFONT height: negative is the em size in
    // pixels, positive the cell height, 0 the default size. weight: 100-900
    // (0 normal). charset 128 (Shift-JIS) prefers faces with Japanese
    // coverage. Null when no face can be opened at all.
    std::shared_ptr<FontHandle> open(const std::string& face, int height, int weight, int charset);

    // The family (UTF-8) a family name (UTF-8) resolves to, with the
    // program's configuration or with another one; empty when nothing
    // matches.
    std::string matchFamily(const std::string& family) const;
    static std::string matchFamily(FcConfig* config, const std::string& family);

    // The installed family (UTF-8) that prints a face named in a print
    // format (CP932, "@" + name for the vertical variant): the face itself
    // when it is installed, else the first installed family that the
    // program's aliases (or the system's strong substitutes) put in its
    // place. Empty when none of them is installed: the face would then be
    // drawn by whatever fallback the system picks, not by a face standing
    // for it.
    std::string printingFamily(const std::string& face) const;

    // The faces the print settings offer: every fixed-pitch face (spacing
    // mono or dual) with Japanese coverage, as "@" + family, CP932, sorted
    // and without repeats. Names that do not fit a LOGFONT face (32 bytes
    // with the NUL) or have no CP932 form are left out.
    std::vector<std::string> verticalFaces() const;

    FcConfig* config() const { return m_config; }

    // Em sizes outside 1..MaxEm are drawn at the nearest limit; a bigger
    // size would only exhaust memory with a few glyphs.
    static constexpr int MaxEm = 2048;
    // The em size of height 0.
    static constexpr int DefaultEm = 16;

private:
    FontEngine();
    ~FontEngine() = default;

    std::shared_ptr<FontHandle> load(const std::string& face, int height, int weight, int charset);

    FcConfig* m_config = nullptr;
    // Guards the configuration, which every thread matches its fonts in.
    mutable std::mutex m_mutex;
};
