#pragma once

#include "fc/FCString.h"

#include <functional>
#include <set>
#include <string>

class ConversionState;

// The pre-survey's walk: every "*.cpp" of a folder (its sub-folders first,
// depth first, when asked), in the order the folder lists them, each line
// going to the survey state.
namespace SourceSurvey {

// Told each file's name followed by "出力中..." before it is read (CP932).
using Message = std::function<void(const FCString&)>;

// folder must exist (the caller has checked); a missing separator is
// added. A source that cannot be read is skipped: the file layer has
// already told the user about it.
void surveyFolder(ConversionState& state, const FCString& folder, bool includeSubfolders,
                  const Message& message = {});
// One source's text, as the walk surveys a file of that name.
void surveyText(ConversionState& state, const FCString& text, const FCString& fileName);

} // namespace SourceSurvey
