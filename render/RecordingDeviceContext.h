#pragma once

#include "render/DeviceContext.h"

#include <string>
#include <vector>

// A drawing context that writes down what is drawn through it: every font
// selection, text output, measurement and fill, in call order. It forwards
// each call to another context, or, without one, draws nothing and answers
// itself: the given resolution, and the measures of a fixed-pitch face (half
// the font's height per byte, the height as the cell).
//
// Used to check page geometry without comparing images.
class RecordingDeviceContext : public DeviceContext {
public:
    // The parts of a font description that tell the styles apart.
    struct Font {
        std::string face; // CP932
        int height = 0;   // as stored in the description (negative: character height)
        int weight = 0;
        bool operator==(const Font&) const = default;
    };

    enum class Kind { SelectFont, TextOut, TextExtent, FillRect, UprightOut, InkOut };

    struct Operation {
        Kind kind = Kind::SelectFont;
        // SelectFont: the font asked for. Otherwise: the font in force.
        Font font;
        bool hasFont = false;
        bool ok = true; // the call's answer (selection, output, measurement)
        int x = 0;      // TextOut, UprightOut, InkOut
        int y = 0;
        std::string text; // TextOut, UprightOut, InkOut, TextExtent (CP932)
        int cell = 0;     // UprightOut
        int cx = 0;       // TextExtent's answer
        int cy = 0;
        FCRect rect; // FillRect
        Brush brush; // FillRect
    };

    explicit RecordingDeviceContext(DeviceContext* target, int dotsPerInch = 96);
    ~RecordingDeviceContext() override = default;

    int logPixelsX() const override;
    int logPixelsY() const override;
    FCFont* selectFont(FCFont* font) override;
    bool textOut(int x, int y, std::string_view text) override;
    bool uprightOut(int x, int y, std::string_view text, int cell) override;
    bool inkOut(int x, int y, std::string_view text) override;
    bool textExtent(std::string_view text, int& cx, int& cy) override;
    void fillRect(const FCRect& rect, const Brush& brush) override;

    const std::vector<Operation>& operations() const { return m_operations; }
    // The operations of one kind, in call order.
    std::vector<Operation> operations(Kind kind) const;
    void clear() { m_operations.clear(); }

private:
    Operation inForce(Kind kind) const;
    // A text drawn at (x, y): recorded with the answer of the target's draw
    // (true without a target).
    bool recordText(Kind kind, int x, int y, std::string_view text, int cell, bool drawn);

    DeviceContext* m_target;
    int m_dotsPerInch;
    FCFont* m_selected = nullptr;
    Font m_selectedFont;
    std::vector<Operation> m_operations;
};
