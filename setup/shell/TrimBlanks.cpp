#include "shell/TrimBlanks.h"

std::string TrimBlanks(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    const std::size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}
