#include "batch/TypesettingArguments.h"

#include "batch/BatchArguments.h"
#include "format/TypesettingOptions.h"

#include <cassert>

void TypesettingArguments::apply(const BatchArguments& args, TypesettingOptions& options)
{
    using LineBreaking = TypesettingOptions::LineBreaking;
    // The parse has allowed only the values the table names.
    if (auto given = args.value(kinsoku.name)) {
        if (*given == "strict")
            options.lineBreaking = LineBreaking::Strict;
        else if (*given == "loose")
            options.lineBreaking = LineBreaking::Loose;
        else
            options.lineBreaking = LineBreaking::Off;
        assert((*given == "strict" || *given == "loose" || *given == "off") &&
               "TypesettingArguments: a --kinsoku value without its mode");
    }
    if (args.has(uprightDigits.name))
        options.uprightDigits = true;
    if (args.has(ruby.name))
        options.ruby = true;
}
