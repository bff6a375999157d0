// libFuzzer entry point over the line rules, the survey, the report and the
// screenplay writer.

#include "ConvertFuzzInput.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzzConvertInput(data, size))
        std::abort();
    return 0;
}
