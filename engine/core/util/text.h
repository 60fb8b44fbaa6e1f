// Text helpers: trimming, padding, centring, number texts, comma-separated
// fields and the chart scale text.
//
// Texts are Windows-1252 bytes terminated by '\0'; bytes above 127 are
// ordinary characters. A blank is the space character. Every writer is
// bounded: a helper with a width writes at most width characters and the
// terminator (its buffer holds width + 1 bytes); a helper with a size writes
// at most size bytes, the terminator included. Numbers are written with "C"
// conventions ('.' as the decimal point) whatever the process locale says,
// and a number that does not fit is never cut: the buffer gets the empty
// text and the result is -1.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// Removes the trailing blanks of s in place and returns s (null stays null).
char* trimRight(char* s);

// The form of trimRight that returns the new length instead of s (0 for
// null).
std::size_t trimRightLength(char* s);

// Removes the leading blanks of s, moving the rest to the front, and returns
// the new length (0 for null).
std::size_t trimLeft(char* s);

// Pads s with ch up to width characters and terminates it at width, so a
// longer text is cut to width. s holds width + 1 bytes; only its first width
// bytes are read. A negative width or a null s changes nothing.
void padRight(char* s, char ch, int width);

// padRight with blanks.
void padBlanks(char* s, int width);

// dst = width characters of ch, terminated, with src (cut to width) copied in
// at (width - length) / 2. dst holds width + 1 bytes. A null src counts as
// empty; a negative width or a null dst writes nothing.
void centreText(const char* src, char ch, int width, char* dst);

// Number of set bits of v.
int countBits(std::uint32_t v);

// v as printf's "%*.*f" writes it: at least width characters, right-aligned
// (left-aligned for a negative width), with precision decimals (6 when
// negative). Returns the length written, or -1 when it does not fit in size.
int formatFloat(double v, char* dst, std::size_t size, int width, int precision);

// v in fixed point: "-" when negative, the whole part, and for decimals > 0 a
// "." and that many decimals, rounded to nearest. Returns the length written,
// or -1 when it does not fit in size.
int formatNumber(double v, char* dst, std::size_t size, int decimals);

// Copies field n (1-based) of the comma-separated line into dst, cut to
// size - 1 bytes, and returns its length. A byte below 32 ends the line. A
// field beyond the last one, or n < 1, gives the empty text. No quoting.
std::size_t csvField(char* dst, std::size_t size, const char* line, int n);

// The scale 1 : n with "." between groups of thousands: "1 : 2.500.000",
// "1 : 50.000", "1 : 500"; 0 gives " No Charts ". Groups go up to millions
// (larger scales show more digits before the first "."); a negative n is
// written plainly. Returns the length written, or -1 when it does not fit.
int scaleText(char* dst, std::size_t size, long n);
}
