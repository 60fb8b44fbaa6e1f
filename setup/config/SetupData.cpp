#include "config/SetupData.h"

#include "files/SetupPaths.h"

#include "os/drives.h"

#include <unistd.h>

#include <climits>

namespace {

bool isDriveForm(const std::string& text) {
    return text.size() >= 2 && text[1] == ':' &&
           ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
}

} // namespace

std::string& TSetupData::Directory(TEdition edition) {
    return edition == kRaster ? Raster.Directory : Vektor.at(edition).Directory;
}

const std::string& TSetupData::Directory(TEdition edition) const {
    return edition == kRaster ? Raster.Directory : Vektor.at(edition).Directory;
}

std::string CurrentDirectoryText() {
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer)) return ".";
    const std::string text = os::windowsPath(buffer);
    return text.empty() ? "." : text;
}

std::string DriveFormText(const std::string& text) {
    if (text.empty() || isDriveForm(text)) return text;
    const std::string path = LocalPath(text);
    if (path.empty()) return text;
    const std::string drive = os::windowsPath(path);
    return drive.empty() ? text : drive;
}
