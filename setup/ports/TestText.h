// The text of the NMEA-test view: the raw bytes received on the test port,
// kept as they came (Windows-1252, NULs included), of which the last few
// lines are shown.
//
// Line breaks come only from the bytes received: CR LF, LF and a lone CR are
// one break each, so a sentence whose CR ends one read and whose LF starts
// the next makes one break. A text that ends in a break has no empty line
// after it ("a\r\nb\r\n" is two lines); an empty text has none.
#pragma once

#include <cstddef>
#include <string>

class TTestText {
  public:
    // Lines by the rule above.
    std::size_t LineCount() const;

    // Removes the first line and its break; nothing when the text is empty.
    void DeleteFirstLine();

    // Appends `count` bytes as they stand.
    void Append(const char* bytes, std::size_t count);

    // What a poll does with the bytes it received: while the text holds 9 or
    // more lines the first is deleted, then the bytes are appended. So the
    // view keeps about nine lines however much arrives.
    void AddReceived(const char* bytes, std::size_t count);

    // The held bytes.
    const std::string& Bytes() const { return bytes_; }

    // The text for display, in UTF-8: each break becomes "\n", other control
    // bytes (NUL included, and the C1 range) become U+FFFD, the rest is
    // converted from Windows-1252.
    std::string DisplayText() const;

  private:
    std::string bytes_;
};
