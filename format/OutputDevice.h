#pragma once

#include <cstdint>

// Where the pages of a print run go: the default printer, one image file
// per page, or one PDF file per script (or per actor). The numbers are those
// stored in the settings files.
enum class OutputDevice : int32_t {
    Printer = 0,
    Bmp = 1,
    Png = 2,
    Pdf = 3,
};

// A stored number as a device, read as the page writer always has: 2 is
// PNG, 3 PDF, any other positive number BMP, the rest the printer.
constexpr OutputDevice outputDeviceOf(int32_t stored)
{
    if (stored == static_cast<int32_t>(OutputDevice::Png))
        return OutputDevice::Png;
    if (stored == static_cast<int32_t>(OutputDevice::Pdf))
        return OutputDevice::Pdf;
    return stored > 0 ? OutputDevice::Bmp : OutputDevice::Printer;
}

constexpr int32_t storedNumberOf(OutputDevice device)
{
    return static_cast<int32_t>(device);
}

// Page images and PDF files are files; the printer's pages are spooler jobs.
constexpr bool writesFiles(OutputDevice device)
{
    return device != OutputDevice::Printer;
}
