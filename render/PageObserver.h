#pragma once

#include "format/OutputDevice.h"

#include <string>

class DeviceContext;
class PageDevice;

// Watches the pages the renderer emits, in the order they are emitted. While
// an observer lives it is offered each page's drawing context before
// anything is drawn and may hand back another one for the page to be drawn
// through (a recorder forwarding to the real context, say). Tests and
// diagnostics use it; the program itself installs none.
class PageObserver {
public:
    struct Page {
        int target = -1; // character slot; -1 for the director's copy
        int page = 0;    // 0-based
        int pageCount = 0;
        OutputDevice device = OutputDevice::Printer;
        std::string path; // the page image file (CP932); empty for the printer
    };

    // Installs itself for its lifetime; the observer it displaced is back in
    // force when it goes. Observers nest like scopes.
    PageObserver();
    virtual ~PageObserver();
    PageObserver(const PageObserver&) = delete;
    PageObserver& operator=(const PageObserver&) = delete;

    static PageObserver* current();

    // The context the page is drawn through. dc is null when the device has
    // none (no printer); returning null draws nothing.
    virtual DeviceContext* pageOpened(const Page& page, DeviceContext* dc);
    // After drawing (and, for images, saving), before the device is released.
    virtual void pageClosed(const Page& page, const PageDevice& device);

protected:
    // The observer this one displaced, for observers that pass pages on.
    PageObserver* previous() const { return m_previous; }

private:
    PageObserver* m_previous;
};
