#include "ports/TestText.h"

#include "os/codePage.h"

#include <string_view>

namespace {

// The length of the line break at `at`: 2 for CR LF, 1 for LF or a lone CR,
// 0 for no break.
std::size_t breakAt(const std::string& text, std::size_t at) {
    if (text[at] == '\n') return 1;
    if (text[at] != '\r') return 0;
    return at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// Control bytes, and the five bytes Windows-1252 leaves unassigned (which
// would come out as C1 controls).
bool isShownAsUnknown(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F || u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D;
}

// The first line of the test text is deleted while it holds this many lines.
constexpr std::size_t kMaxLinesBeforeAppend = 9;

} // namespace

std::size_t TTestText::LineCount() const {
    std::size_t lines = 0;
    std::size_t i = 0;
    bool open = false; // a line has begun and not yet ended
    while (i < bytes_.size()) {
        const std::size_t b = breakAt(bytes_, i);
        if (b > 0) {
            ++lines;
            open = false;
            i += b;
        } else {
            open = true;
            ++i;
        }
    }
    return lines + (open ? 1 : 0);
}

void TTestText::DeleteFirstLine() {
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        if (const std::size_t b = breakAt(bytes_, i)) {
            bytes_.erase(0, i + b);
            return;
        }
    }
    bytes_.clear();
}

void TTestText::Append(const char* bytes, std::size_t count) {
    if (bytes && count > 0) bytes_.append(bytes, count);
}

void TTestText::AddReceived(const char* bytes, std::size_t count) {
    while (LineCount() >= kMaxLinesBeforeAppend)
        DeleteFirstLine();
    Append(bytes, count);
}

std::string TTestText::DisplayText() const {
    std::string shown;
    shown.reserve(bytes_.size());
    std::size_t i = 0;
    while (i < bytes_.size()) {
        if (const std::size_t b = breakAt(bytes_, i)) {
            shown += '\n';
            i += b;
        } else {
            const char c = bytes_[i++];
            shown += isShownAsUnknown(c) ? std::string(kReplacement)
                                         : os::cp1252ToUtf8(std::string_view(&c, 1));
        }
    }
    return shown;
}
