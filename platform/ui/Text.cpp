#include "ui/Text.h"

#include "os/codePage.h"

#include <algorithm>
#include <cstring>

namespace ui {

QString ToQt(std::string_view cp1252) {
    const std::string utf8 = os::cp1252ToUtf8(cp1252);
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

QString ToQt(const char8_t* utf8) {
    if (!utf8) return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(utf8));
}

std::string FromQt(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return os::utf8ToCp1252(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

QString LineBreaksToQt(const QString& text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

int CopyOut(std::string_view text, char* buf, int size) {
    if (!buf || size <= 0) return 0;
    const std::size_t n = std::min(text.size(), std::size_t(size - 1));
    std::memcpy(buf, text.data(), n);
    buf[n] = '\0';
    return int(n);
}

} // namespace ui
