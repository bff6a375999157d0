#pragma once

#include <cstdint>
#include <string>

// The default printer through CUPS: it stands for the default Windows
// printer. One page is sent as one job.
namespace CupsPrinter {

struct PageGeometry {
    int dotsPerInch = 600; // the printer's default resolution, 600 where it gives none
    int widthPixels = 0;   // portrait page of its default media, at that resolution
    int heightPixels = 0;
};

// The default destination's name, as libcups chooses it (LPDEST or
// PRINTER, the lpoptions files, then the server's default); an lpoptions
// instance is named "queue/instance". False when there is none.
[[nodiscard]] bool defaultPrinter(std::string& name);
// Resolution and portrait page size of the named printer's defaults.
[[nodiscard]] bool pageGeometry(const std::string& printer, PageGeometry& geometry);
// The number of jobs the printer holds (not completed), or -1.
int jobCount(const std::string& printer);

// Sends one page (8-bit grey pixels, rows top to bottom, `stride` bytes
// apart, 0 black 255 white) as one job with the given title. Returns 0,
// or an error number (errno or the CUPS status) for the trace; `call`
// names the step that failed: "OpenPrinter" (finding the destination),
// "CreateDC" (asking its capabilities, or a page that cannot be
// described), "StartDoc" (creating the job, starting its document) or
// "EndDoc" (sending the page, closing the document). A job that fails
// after it was created is cancelled.
int printPage(const std::string& printer, const std::string& title, const PageGeometry& geometry,
              const uint8_t* pixels, int stride, std::string& call);

} // namespace CupsPrinter
