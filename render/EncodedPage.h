#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class FCVSurface;

// A page image made into the bytes of its file by the thread that drew it,
// while the page is still in that processor's cache, and written there too
// under a hidden temporary name in a folder of the run (the staging folder):
// the run's own thread then only puts the file under the page's name, in
// list order. A page whose temporary could not be written keeps its bytes
// instead, and a file that cannot simply take its name (another file system,
// a BMP file there already) is written the way a page drawn on the run's
// thread is, with the same result. A page never put in place (its scene was
// cancelled, the run failed) removes its temporary when it goes.
class EncodedPage {
public:
    // How the temporaries are named; a run removes those that runs which
    // have ended left in its staging folder.
    static constexpr std::string_view TemporaryPrefix = ".quillon-page-";

    EncodedPage();
    ~EncodedPage();
    EncodedPage(EncodedPage&& other) noexcept;
    EncodedPage& operator=(EncodedPage&& other) noexcept;
    EncodedPage(const EncodedPage&) = delete;
    EncodedPage& operator=(const EncodedPage&) = delete;

    // The page, turned as it is to be written, as a PNG (png) or BMP file,
    // its temporary in stagingFolder (native; empty: the bytes are kept).
    static EncodedPage encode(const FCVSurface& page, bool png, const std::string& stagingFolder);

    // The file is ready: under its temporary name, or as bytes.
    bool encoded() const { return m_encoded; }
    bool staged() const { return !m_staged.empty(); }
    // Puts the file under path (CP932; the extension forced to ".png" or
    // ".bmp") as PageDevice::save writes a page, over a PNG file there;
    // false when it was not written.
    bool save(const char* path);

private:
    void removeTemporary();

    std::string m_staged; // the temporary, native
    std::vector<uint8_t> m_bytes;
    int m_width = 0;
    int m_height = 0;
    bool m_png = true;
    bool m_encoded = false;
};
