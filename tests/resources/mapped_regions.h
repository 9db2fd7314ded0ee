// Whether a file is mapped into this process now, from /proc/self/maps: shows when a view is
// really unmapped, not only forgotten.
#pragma once

#include <fstream>
#include <string>

namespace quorvane::tests {

inline bool IsMapped(const std::string& path)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.size() >= path.size() && line.compare(line.size() - path.size(), path.size(), path) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace quorvane::tests
