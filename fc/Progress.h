#pragma once

#include <cstdint>
#include <string_view>

// What a long piece of work (a folder load, a print run, an estimate, the
// check lists, a conversion) shows while it runs, and how it learns that the
// user wants it to stop. The work is handed one by whoever starts it: the
// desktop program's progress window, the batch tool's terminal line, a
// test's recorder. Texts are CP932.
//
// Per unit of work the worker sets the text, steps the bar, pumps and then
// reads cancelled(); a unit already started is always finished. A second
// cancel asks to stop at once: stopRequested() then holds, for work that
// can stop inside a unit and clean up after itself.
class Progress {
public:
    virtual ~Progress() = default;

    virtual void setTitle(std::string_view title) = 0;
    virtual void setText(std::string_view text) = 0;
    // The bar: shown or not, start position, range.
    virtual void setupBar(bool show, int32_t start, int32_t minimum, int32_t maximum) = 0;
    virtual void setStepSize(int32_t step) = 0;

    // Shows the progress; clears the cancel flags.
    virtual void open(bool cancellable) = 0;
    virtual void close() = 0;

    // Advances the bar by one step; true when it stands at its maximum.
    virtual bool step() = 0;
    virtual void setPosition(int32_t position) = 0;
    // Lets the user's input in (a pressed cancel button among it).
    virtual void pump() = 0;
    // The same while the work waits for another thread to finish a unit,
    // every few hundredths of a second: these pumps come as often as the
    // waiting lasts, not once per unit, and a view may tell them apart.
    virtual void pumpWaiting() { pump(); }
    virtual bool cancelled() const = 0;
    virtual bool stopRequested() const = 0;
};
