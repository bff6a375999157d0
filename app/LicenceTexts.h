#pragma once

#include "fc/FCString.h"

#include <string_view>

// The licence notices of the libraries the About box names. Each known text
// is a line break, a sentence saying that the program uses the library, the
// library's web site, an empty line, a ruled COPYRIGHT heading and then the
// notice exactly as the library publishes it. Texts are CP932 with "\n"
// line ends.
namespace LicenceTexts {

// The text for a page name: the name, with its ASCII letters in lower
// case, is compared whole with "zlib", "libpng", "libjpeg" and "ogg" (the
// Ogg Vorbis notice). Any other name gives the name as given followed by
// a sentence asking for its licence to be looked up and filled in.
FCString lookup(std::string_view name);

FCString zlib();
FCString libpng();
FCString libjpeg();
FCString oggVorbis();

} // namespace LicenceTexts
