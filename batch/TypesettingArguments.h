#pragma once

#include "batch/CommandHelp.h"

class BatchArguments;
struct TypesettingOptions;

// The options that change how lines are set for one run, shared by the
// commands that lay scenes out (layout, estimate, print); each lists them in
// its own options table.
namespace TypesettingArguments {

inline constexpr OptionHelp kinsoku{
    "kinsoku", "off|strict|loose",
    "Japanese line breaking (禁則処理); loose lets 々, ー, small kana and ・ start a line"};
inline constexpr OptionHelp uprightDigits{"upright-digits", nullptr,
                                          "set numbers of one or two digits upright in one cell"};
inline constexpr OptionHelp ruby{
    "ruby", nullptr, "readings written ｜base《reading》 or 漢字《reading》 beside their base"};

// What the options ask for, over what options held (the folder's settings or
// the plain grid): --kinsoku sets the mode, the two switches turn theirs on.
void apply(const BatchArguments& args, TypesettingOptions& options);

} // namespace TypesettingArguments
