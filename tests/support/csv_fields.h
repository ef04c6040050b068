#pragma once
// The fields of one row of a comma-separated reference file.
#include <sstream>
#include <string>
#include <vector>

namespace testsupport {

// A row ending in a comma has an empty last field.
inline std::vector<std::string> Campi(const std::string& riga)
{
    std::vector<std::string> out;
    std::stringstream ss(riga);
    std::string c;
    while (std::getline(ss, c, ','))
        out.push_back(c);
    if (!riga.empty() && riga.back() == ',')
        out.emplace_back();
    return out;
}

} // namespace testsupport
