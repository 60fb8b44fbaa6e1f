#include "files/Backslash.h"

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

std::string AddBackslash(const std::string& path) {
    if (path.empty()) return "\\";
    if (isSeparator(path.back())) return path;
    return path + (path.front() == '/' ? '/' : '\\');
}

std::string RemoveBackslash(const std::string& path) {
    if (path.size() > 1 && isSeparator(path.back())) return path.substr(0, path.size() - 1);
    return path;
}
