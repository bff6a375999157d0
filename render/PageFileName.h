#pragma once

#include "fc/FCString.h"

#include <string_view>

// Names of page image files. Every page goes into a folder named after its
// scene under the destination folder:
//   destination + scene + "/" + scene + "." + character + "." + page + "@" +
//   page count + ".bmp" (or ".png")
// with the page number padded with "0" to the width of the page count.
// Scene and character names come from screenplay files; in the file system
// they are mended so that no name can leave the destination folder.
namespace PageFileName {

// The name as a single file-system name: every "/" and NUL character
// becomes "_", and a whole "." or ".." becomes "_". Other names are kept.
FCString safeName(std::string_view name);

// The scene's folder, ending with "/". Nothing is put between the
// destination and the scene name: the destination ends with "/".
FCString folder(const FCString& destination, const FCString& scene);

// The file of 1-based page `page` of `pageCount` for the named character
// (the director's copy passes its own caption).
FCString file(const FCString& destination, const FCString& scene, const FCString& character,
              int page, int pageCount, bool png);

} // namespace PageFileName
