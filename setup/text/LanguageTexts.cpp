#include "text/LanguageTexts.h"

#include "os/codePage.h"

#include <string_view>

std::string LanguageText(int pair, int language) {
    if (pair < 0 || pair >= lpPairCount) return "";
    const char8_t* text = kLanguageTexts[2 * pair + (language == 2 ? 1 : 0)];
    const std::u8string_view utf8(text);
    return os::utf8ToCp1252(
        std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}
