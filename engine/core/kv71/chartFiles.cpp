#include "kv71/chartFiles.h"

#include "os/drives.h"
#include "os/findNoCase.h"

#include <sys/stat.h>

std::string localChartPath(const char* path) {
    return path ? os::localPath(path) : "";
}

std::FILE* openChartFile(const char* path, const char* mode) {
    const std::string found = os::findNoCase(localChartPath(path));
    struct stat st;
    if (found.empty() || ::stat(found.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    return std::fopen(found.c_str(), mode);
}

long chartFileSize(std::FILE* file) {
    if (!file) return -1;
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return size;
}

bool readLine(std::FILE* file, std::string& line) {
    line.clear();
    int c;
    bool any = false;
    while ((c = std::getc(file)) != EOF) {
        any = true;
        if (c == '\n') break;
        line.push_back(static_cast<char>(c));
    }
    if (!any) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}
