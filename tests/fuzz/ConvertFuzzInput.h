#pragma once

#include "convert/ConversionState.h"
#include "convert/MessageIdReport.h"
#include "convert/ScreenplayWriter.h"
#include "convert/SourceSurvey.h"
#include "document/ScreenplayHeader.h"
#include "document/ScreenplayScanner.h"
#include "fc/FCString.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// One fuzzing input through the converter: the bytes up to the first NUL are
// a name-definition file, the rest a scenario source. The source is surveyed
// and converted, and the screenplay text must read back with a complete
// header. False when that fails; crashes and sanitizer reports speak for
// themselves. Shared by the libFuzzer target and the corpus replay test.
inline bool fuzzConvertInput(const uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view definitions = input.substr(0, split);
    const std::string_view source =
        split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

    ConversionState state;
    state.readNameDefinitions(FCString(definitions));
    SourceSurvey::surveyText(state, FCString(source), FCString("fuzz.cpp"));
    const FCString report = MessageIdReport::text(state);
    if (report.isEmpty())
        return false;

    state.resetConversionState();
    state.readNameDefinitions(FCString(definitions));
    state.header().loadNames(FCString(definitions));
    ScreenplayWriter writer(state);
    FCString screenplay, log;
    const bool spoke = writer.convertText(FCString(source), FCString("fuzz"), FCString("/fuzz.cpp"),
                                          screenplay, log);
    if (!spoke)
        return screenplay.isEmpty();
    if (screenplay.view().substr(0, 12) != ".scene\tfuzz\n")
        return false;
    ScreenplayScanner scanner(screenplay.view());
    ScreenplayHeader header;
    if (!header.read(scanner))
        return false;
    // Every speech line counted in the header: the total cannot exceed them.
    return header.start() <= header.end() && header.total() >= 0;
}
