#pragma once

#include "fc/FCString.h"

class ConversionState;

// The pre-survey's report as the notice dialog shows it: the id range, the
// unused ids, the duplicates, the files with unassigned and with system ids
// and the unregistered speaker objects.
namespace MessageIdReport {

FCString text(const ConversionState& state);

} // namespace MessageIdReport
