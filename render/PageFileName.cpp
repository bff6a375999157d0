#include "render/PageFileName.h"

#include "fc/SafeFileName.h"

#include <string>

namespace {

int decimalDigits(int value)
{
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

} // namespace

FCString PageFileName::safeName(std::string_view name)
{
    return FCString(std::string_view(SafeFileName::of(name)));
}

FCString PageFileName::folder(const FCString& destination, const FCString& scene)
{
    FCString path(destination);
    path.append(safeName(scene.view()).view());
    path.append("/");
    return path;
}

FCString PageFileName::file(const FCString& destination, const FCString& scene,
                            const FCString& character, int page, int pageCount, bool png)
{
    FCString path = folder(destination, scene);
    path.append(safeName(scene.view()).view());
    path.append(".");
    path.append(safeName(character.view()).view());
    path.append(".");
    // Padded, never cut: a number wider than the count keeps all its digits.
    std::string number = std::to_string(page);
    const int width = decimalDigits(pageCount > 0 ? pageCount : 1);
    if (static_cast<int>(number.size()) < width)
        number.insert(0, static_cast<std::size_t>(width) - number.size(), '0');
    path.append(std::string_view(number));
    path.append("@");
    path.append(std::string_view(std::to_string(pageCount)));
    path.append(png ? ".png" : ".bmp");
    return path;
}
