#include "OracleTable.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

std::vector<OracleTable::Section> OracleTable::load(const std::string& fileName)
{
    std::ifstream in(std::string(QUILLON_TEST_DATA) + "/" + fileName);
    EXPECT_TRUE(in.good()) << "cannot read test data " << fileName;
    std::vector<Section> sections;
    std::string line;
    while (std::getline(in, line)) {
        Row row;
        std::stringstream fields(line);
        std::string field;
        while (std::getline(fields, field, '\t'))
            row.push_back(field);
        if (!line.empty() && line.back() == '\t')
            row.push_back({});
        bool header =
            !row.empty() && row[0].size() >= 4 && row[0].compare(row[0].size() - 4, 4, "_hex") == 0;
        if (header)
            sections.emplace_back();
        else if (!sections.empty())
            sections.back().push_back(row);
    }
    return sections;
}

std::string OracleTable::bytes(const std::string& hex)
{
    EXPECT_EQ(hex.size() % 2, 0u) << "odd hex field " << hex;
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

std::string OracleTable::hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out;
}
