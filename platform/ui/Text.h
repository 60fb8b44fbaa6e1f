// Texts crossing into Qt. The programs' texts are Windows-1252 bytes (char
// strings); the layer's own template texts are UTF-8 literals (char8_t), so the
// two kinds cannot be mixed up by accident.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace ui {

// Windows-1252 bytes as Qt text (every byte survives a round trip).
QString ToQt(std::string_view cp1252);
// A UTF-8 literal as Qt text; null gives an empty text.
QString ToQt(const char8_t* utf8);
// Qt text as Windows-1252 bytes; a character Windows-1252 cannot hold becomes "?".
std::string FromQt(const QString& text);

// Windows line breaks as Qt shows them: "\r\n", a lone "\r" and "\n" each
// become "\n".
QString LineBreaksToQt(const QString& text);

// Copies at most size - 1 bytes and a NUL into buf; returns the bytes copied.
// Nothing is written when size is 0 or buf is null.
int CopyOut(std::string_view text, char* buf, int size);

} // namespace ui
