#include "chartcopy/ChartCopyTexts.h"

#include "files/Backslash.h"
#include "files/SetupPaths.h"
#include "shell/NavigatorPresence.h"
#include "text/LanguageTexts.h"

#include "os/drives.h"

#include <cctype>
#include <cstring>

namespace {

bool driveForm(const std::string& text) {
    return text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':';
}

} // namespace

std::string CopyKindQuestion(char kind, int language) {
    switch (kind) {
    case '2':
        return LanguageText(lpDirCopyKind2, language);
    case 'F':
        return LanguageText(lpDirCopyKindF, language);
    case 'B':
        return LanguageText(lpDirCopyKindB, language);
    default:
        return LanguageText(lpDirCopyKind1, language);
    }
}

std::string DriveOfText(const std::string& directory) {
    if (driveForm(directory))
        return std::string(1, char(std::toupper(static_cast<unsigned char>(directory[0]))));
    const std::string text = os::windowsPath(NormalLocalPath(directory));
    if (driveForm(text)) return text.substr(0, 1);
    return RemoveBackslash(directory);
}

std::string NoRoomMessage(const TChartCopyResult& result, const std::string& destination,
                          int language) {
    return LanguageText(lpDirCopyNoRoom, language) + DriveOfText(destination) +
           LanguageText(lpDirCopyForCharts, language) + "\r" +
           LanguageText(lpDirCopySpaceAvailable, language) +
           std::to_string(result.Available + 1000000) + LanguageText(lpDirCopyBytes, language) +
           "\r" + LanguageText(lpDirCopySpaceRequired, language) + std::to_string(result.Bytes) +
           LanguageText(lpDirCopyBytes, language);
}

std::string DeleteErrorText(const std::string& path, int error, int language) {
    return LanguageText(lpDirCopyError, language) + " (" + std::to_string(error) + ") " +
           LanguageText(lpDirCopyDeleting, language) + " " + path;
}

std::string CreateErrorText(const std::string& path, int error, int language) {
    return LanguageText(lpDirCopyError, language) + " (" + std::to_string(error) + ") " +
           LanguageText(lpDirCopyCreating, language) + " " + path;
}

std::string RefusalMessage(const TChartCopyResult& result, int language) {
    if (result.Outcome != TCopyOutcome::Refused) return "";
    switch (result.Refusal) {
    case TCopyRefusal::SameDirectory:
        return LanguageText(lpDirCopySameDrive, language);
    case TCopyRefusal::SourceOnC:
        return LanguageText(lpDirCopySourceOnC, language);
    case TCopyRefusal::Destination:
        return LanguageText(lpDirCopyCannotCopyTo, language) + result.Path + ".";
    case TCopyRefusal::NavigatorRunning:
        return kStopNavigatorMessage;
    case TCopyRefusal::NoCharts:
        return LanguageText(lpDirCopyNoCharts, language) + DriveOfText(result.Path) + ":";
    case TCopyRefusal::None:
        break;
    }
    return "";
}

std::string FailureDetail(const std::string& path, int error) {
    return path + " (" + std::strerror(error) + ")";
}
