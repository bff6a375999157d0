#pragma once

#include <optional>
#include <string>

// The file-name pattern a scenario's deliveries follow, kept in its folder's
// "quillon.settings.rnf" under voice.pattern (CP932, like every value
// there), so that a pattern given once is used for every later check of the
// same scenario. Other keys of the file are left as they are.
namespace VoicePatternSetting {

inline constexpr const char* Key = "voice.pattern";

// folder is the scenario folder (CP932).
// The stored pattern in UTF-8; empty when none is stored (the default
// rule) or the settings file cannot be read (it is no file, or the file
// layer gave up on it).
std::string load(const std::string& folder);
// Stores the pattern (UTF-8); an empty one removes the key. False when
// the pattern has no Shift-JIS form or the file cannot be written.
[[nodiscard]] bool save(const std::string& folder, const std::string& pattern);

} // namespace VoicePatternSetting
