// Upper, lower and title case of Windows-1252 texts, checked against the
// Unicode case mapping of each character, under the "C" locale and under
// locales whose own case functions answer otherwise.
#include "util/textCase.h"

#include <QChar>
#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <string>

namespace {

// The Unicode code point of each Windows-1252 byte (0 where the code page
// has none): 0x80 to 0x9F from the code page's table, the rest are Latin-1.
std::array<char16_t, 256> codePage() {
    std::array<char16_t, 256> cp{};
    for (int b = 0; b < 256; ++b)
        cp[std::size_t(b)] = char16_t(b);
    const char16_t row80[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    for (int i = 0; i < 32; ++i)
        cp[std::size_t(0x80 + i)] = row80[i];
    return cp;
}

// The byte of the single-character case mapping of byte b's character; b
// itself where the code page has no such character.
unsigned char expected(unsigned char b, bool upper) {
    static const std::array<char16_t, 256> cp = codePage();
    if (b != 0 && cp[b] == 0) return b;
    const QChar c(cp[b]);
    const char16_t mapped = upper ? c.toUpper().unicode() : c.toLower().unicode();
    for (int i = 0; i < 256; ++i)
        if (cp[std::size_t(i)] == mapped) return (unsigned char)i;
    return b;
}

void expectEveryByteMapsAsUnicodeDoes() {
    int letters = 0;
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const unsigned char c = (unsigned char)b;
        EXPECT_EQ(upperCase1252(c), expected(c, true));
        EXPECT_EQ(lowerCase1252(c), expected(c, false));
        if (upperCase1252(c) != c) ++letters;
    }
    // a-z, à-þ but ÷, š, œ, ž, ÿ.
    EXPECT_EQ(letters, 26 + 30 + 4);
}

TEST(TextCase, EveryByteMapsAsItsUnicodeCharacterDoes) {
    expectEveryByteMapsAsUnicodeDoes();
    // What the code page's letters pair with, spelled out.
    struct Pair {
        unsigned char small, capital;
    };
    const Pair pairs[] = {{'a', 'A'},   {'z', 'Z'},   {0xE5, 0xC5}, {0xF8, 0xD8}, {0xE6, 0xC6},
                          {0xFE, 0xDE}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E}, {0xFF, 0x9F}};
    for (const Pair& p : pairs) {
        EXPECT_EQ(upperCase1252(p.small), p.capital);
        EXPECT_EQ(lowerCase1252(p.capital), p.small);
    }
    // ß has no capital; ×, ÷, µ, ª and º are no pairs.
    for (unsigned char same : {0xDF, 0xD7, 0xF7, 0xB5, 0xAA, 0xBA}) {
        EXPECT_EQ(upperCase1252(same), same);
        EXPECT_EQ(lowerCase1252(same), same);
    }
}

TEST(TextCase, LocaleDoesNotMatter) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    // An eight-bit locale of another code page (0xE0 is a Cyrillic letter
    // there, 0xB8 and 0xBF too), and Latin-1, where 0x8A to 0x9F are no letters.
    int tried = 0;
    for (const char* locale :
         {"ru_RU.CP1251", "ru_RU.cp1251", "nb_NO.ISO-8859-1", "nb_NO", "de_DE.UTF-8"}) {
        if (!std::setlocale(LC_ALL, locale)) continue;
        ++tried;
        SCOPED_TRACE(locale);
        expectEveryByteMapsAsUnicodeDoes();
        char text[] = "HELLIS\xD8Y \xC5SANE";
        lowerCase1252(text);
        EXPECT_STREQ(text, "hellis\xF8y \xE5sane");
    }
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_GT(tried, 0) << "no other locale to try";
}

TEST(TextCase, TextsInPlace) {
    // Windows-1252 bytes: \xC5 \xE5 Å å, \xC6 \xE6 Æ æ, \xD8 \xF8 Ø ø, \xDF ß,
    // \x9F \xFF Ÿ ÿ.
    struct Row {
        const char *in, *upper, *lower, *title;
    };
    const Row rows[] = {
        {"", "", "", ""},
        {"in12.1", "IN12.1", "in12.1", "In12.1"},
        {"HELLIS\xD8Y", "HELLIS\xD8Y", "hellis\xF8y", "Hellis\xF8y"},
        // Capitals start the text and follow a blank, '-', '.' and '\''.
        {"PORT-EN-BESSIN O'NEILL", "PORT-EN-BESSIN O'NEILL", "port-en-bessin o'neill",
         "Port-En-Bessin O'Neill"},
        {"st.olav  bay", "ST.OLAV  BAY", "st.olav  bay", "St.Olav  Bay"},
        {"\xC6R\xD8 \xDFTRASSE", "\xC6R\xD8 \xDFTRASSE", "\xE6r\xF8 \xDFtrasse",
         "\xC6r\xF8 \xDFtrasse"},
        {" \xFF-9a", " \x9F-9A", " \xFF-9a", " \x9F-9a"},
        {"MAIN, NORTH/SOUTH", "MAIN, NORTH/SOUTH", "main, north/south", "Main, North/south"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.in);
        std::string upper = r.in, lower = r.in, title = r.in;
        upperCase1252(upper.data());
        lowerCase1252(lower.data());
        titleCase1252(title.data());
        EXPECT_EQ(upper, r.upper);
        EXPECT_EQ(lower, r.lower);
        EXPECT_EQ(title, r.title);
    }
    upperCase1252(static_cast<char*>(nullptr));
    lowerCase1252(static_cast<char*>(nullptr));
    titleCase1252(nullptr);
}

} // namespace
