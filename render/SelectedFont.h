#pragma once

#include <memory>
#include <string_view>

class FCFont;
class FontHandle;

// The font a drawing context has selected, as GDI keeps it: selecting a font
// that was not created fails and keeps the previous one; selecting null goes
// back to the context's stock font (the system's Japanese face, 16 pixels per
// em at 96 dots per inch, scaled to the context's resolution when first
// needed). The face is
// held here, so it stays usable even if the FCFont is released or created
// anew while selected.
class SelectedFont {
public:
    // Returns the previously selected font (null at first), or null when the
    // font was not created.
    FCFont* select(FCFont* font);
    // The selected font's face, else the stock font's; null when there is no
    // font at all.
    const std::shared_ptr<FontHandle>& face(int dotsPerInch);
    // The sum of the advances of a CP932 text and the cell height of the
    // face; false without a face.
    bool textExtent(std::string_view text, int dotsPerInch, int& cx, int& cy);

private:
    FCFont* m_selected = nullptr;
    std::shared_ptr<FontHandle> m_face;
    std::shared_ptr<FontHandle> m_stockFace;
};
