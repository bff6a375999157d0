#pragma once

#include <string>
#include <vector>

// The tab-separated answer tables in tests/platform/data. A table holds one
// or more sections, each starting with a header line whose first field ends
// in "_hex"; the header lines themselves are not returned.
namespace OracleTable {

using Row = std::vector<std::string>;
using Section = std::vector<Row>;

std::vector<Section> load(const std::string& fileName);

// "8341" -> the two bytes 0x83 0x41; an empty field is the empty text.
std::string bytes(const std::string& hex);
std::string hex(const std::string& bytes);

} // namespace OracleTable
