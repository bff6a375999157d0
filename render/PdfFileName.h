#pragma once

#include "fc/FCString.h"

// Names of PDF files, mended as the page images' names are (every "/" and
// NUL becomes "_", a whole "." or ".." becomes "_") so that no name from a
// screenplay file can leave the destination folder. The destination ends
// with "/".
namespace PdfFileName {

// One script: destination + scene + "/" + scene + "." + character + ".pdf"
// (the director's copy passes its own caption as the character).
FCString script(const FCString& destination, const FCString& scene, const FCString& character);
// One actor's bundle of every printed scene: destination + character +
// ".pdf".
FCString bundle(const FCString& destination, const FCString& character);

} // namespace PdfFileName
