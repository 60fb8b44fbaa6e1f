// Dates of the utility library: the tide engine's time base (hours since
// 1996-01-01), Julian day numbers, leap years, day and minute arithmetic, the
// packed date-time with its text forms, day numbers since 1970 and a file's
// modification time.
//
// This unit is compiled into both Skjoldr and the tide library. It depends on
// nothing but util/reportError.h and the standard library; keep it so.
//
// Calendar arithmetic is done on civil days of the proleptic Gregorian
// calendar in UTC. The process's time-zone setting is never consulted, except
// by today() and timeNow(), which answer the local clock. A month outside 1-12
// (or a day outside the month) is carried into the neighbouring months and
// years the way the C library's time conversion normalises a broken-down
// date; it never indexes a month table.
#pragma once

#include <cstdint>

extern "C" {

// The tide library's date record: day 1-31, month 1-12, four-digit year.
struct t_date {
    char day;
    char month;
    short year;
};

// Packed date-time, a 32-bit value with bit fields from the lowest bit:
// year 12 bits (four digits, 0-4095), month 4 bits (1-12), day 5 bits (1-31),
// hour 5 bits (0-23), minute 6 bits (0-59).
typedef std::uint32_t PackedDateTime;

// Whole hours from 1996-01-01 00:00 UTC to 00:00 UTC of the date: 24 times
// the civil days between them, negative before 1996. Example: 1996-01-02
// gives 24, 1995-12-31 gives -24. A null date gives 0.
long hoursSince1996(const t_date* date);

// Integer Julian day number of a Gregorian date (the day whose noon it
// numbers): julianDay(2000, 1, 1) == 2451545. Integer formula with truncating
// divisions, valid for years after -4800; the month is not range-checked but
// indexes nothing.
long julianDay(int year, int month, int day);

// 1 for Gregorian leap years (divisible by 4 and not by 100, or by 400), else 0.
int isLeapYear(int year);

// Steps the date by n days (backwards for negative n) over the month lengths.
// The date is first normalised (see above). Null pointers, or a start or a
// result outside the calendar's range (years -32767..32767): nothing happens.
void addDays(int* year, int* month, int* day, long n);

// Adds minutes (negative to go back) to a packed date-time, carrying into
// hours, days, months and years. Returns 1; returns 0 and leaves the value
// unchanged when the result's year falls outside 0-4095 or value is null.
int addMinutes(PackedDateTime* value, long minutes);

// Reads "yy-mm-dd hh:mm" (each field up to two digits, scanned as
// "%2d-%2d-%2d %2d:%2d") into a packed date-time: a year below 80 becomes
// 20yy, otherwise 19yy. Returns 1; returns 0 and leaves *value unchanged when
// a field is missing or out of range (month 1-12, day within the month, hour
// 0-23, minute 0-59) or an argument is null.
int parseDateTime(const char* text, PackedDateTime* value);

// Writes "dd-Mon hh:mm" (day, month name "Jan".."Dec", hour, minute) into
// dst, which must hold 13 bytes. A month outside 1-12 is written as "???".
// Returns dst.
char* formatDateTime(char* dst, PackedDateTime value);

// Writes "yy-mm-dd hh:mm" (year modulo 100, month, day, hour, minute) into
// dst, which must hold 15 bytes. Returns dst.
char* formatDateTimeNumeric(char* dst, PackedDateTime value);

// The file's last modification time in UTC, as a packed date-time. Returns 1;
// returns 0 (value unchanged) when the file cannot be examined or its year
// does not fit 0-4095.
int fileDateTime(const char* path, PackedDateTime* value);

// Days from 1970-01-01 to the date, given as years since 1900, month 0-11 and
// day 1-31 (the C library's broken-down convention); negative before 1970.
// Returns 0 when the year lies outside the calendar's range (-32767..32767).
long dayNumber(int yearsSince1900, int month0, int day);

// The inverse of dayNumber: years since 1900, month 0-11 and day 1-31.
// Null outputs are skipped; a day number outside the calendar's range leaves
// the outputs unchanged.
void dayNumberToDate(long n, int* yearsSince1900, int* month0, int* day);

// Writes "dd-Mon yyyy" of the day number into dst (16 bytes), or
// "Not available" for 0 or a day number outside the calendar's range.
// Returns dst.
char* formatDayNumber(long n, char* dst);

// The local date (day, month 1-12, four-digit year) and the local time of the
// process's clock and time-zone setting. Null outputs are skipped.
void today(t_date* date);
void timeNow(int* hour, int* minute, int* second);

} // extern "C"
