// NMEA 0183 input: sentence assembly from a port's raw bytes, the sentences
// that move the own vessel (GGA, GLL, VTG, RMC), depth (DPT, DBS, DBT), time
// (ZDA) and wind (MWV, VWR), and the committing of position fixes.
#pragma once

#include <cstdint>

#include "nmea/NavState.h"

namespace os {
class Clock;
}

constexpr int kNmeaPortCount = 6;       // ports 0 to 5
constexpr int kNmeaReadBufferSize = 80; // bytes per completed read
constexpr int kNmeaSentenceMax = 80;    // characters kept of one sentence, inserted ones counted

// One port's input and assembly state. It belongs to the port's reader thread.
struct NmeaPortState {
    char readBuffer[kNmeaReadBufferSize + 1] = {}; // bytes of the last completed read
    std::uint32_t readCount = 0;                   // valid bytes in readBuffer; 0 after parsing
    char sentence[kNmeaSentenceMax + 3] = {};      // the sentence being assembled, NUL-terminated
    std::int32_t position = 0;                     // where the next character goes
    std::uint8_t inSentence = 0;   // 1 from a "$" until the carriage return or a rejection
    char previous = 0;             // last byte seen (a comma stays a comma here)
    std::uint8_t checksum = 0;     // XOR of the bytes after "$" up to "*"
    std::int32_t checksumMark = 0; // position of the "*", 0 when none
    std::int32_t sentenceId = 0;   // 0 none, 1 GGA to 16 VWR, 94/95/99 fixed-width forms
    char fixedForm = 0;            // 'T', 'O', 'L' or 0
};

// The state of port 0 to 5; null for any other number.
NmeaPortState* NmeaPort(int port);

// Consumes readCount bytes of the port's read buffer: assembles sentences
// across reads, checks them and interprets the accepted ones into the shared
// navigation record. Returns 1 when a fix was committed during this buffer
// (and then starts the output writer once), else 0; 0 for a port out of range.
// Numbers are read with "C" conventions whatever the locale. Sentences with a
// wrong or malformed checksum, of an unknown or dropped type, or longer than 80
// characters (blanks and zeros inserted for empty fields counted) are dropped.
// A depth outside 0 to 11,000 m (DBT, DBS, DPT) or a wind speed outside 0 to
// 250 knots or its equivalent in the sentence's unit (MWV, VWR) changes
// nothing.
int ParseNmeaBuffer(int port);

// Commits the parsed position fields as a fix from the port. Returns 0 when
// another port is the output port, when the fix is out of range (latitude 0
// or beyond 85 degrees, longitude beyond 180, minutes not in 0 to below 60;
// then nothing at all changes), and for the first fix after start or after
// ResetFixHistory (which only primes); 1 when the position was moved. The
// first port to commit becomes the output port. From a fix that is reported
// valid, the PC clock is set: the time while the satellite count is unknown,
// and the date once per run when a day has been received.
int CommitFix(int port);

// Turns the parsed wind angle (degrees) and speed (metres per second) into the
// wind direction and speed of NavState; relative wind is corrected by the
// vessel's motion (speed over ground, heading).
void ComputeWind(bool relative);

// The course plus the magnetic variation unless alreadyTrue, folded once into
// 0 to 360. Degrees.
float MagneticToTrue(float course, bool alreadyTrue);

// When port is the output port, forgets the last raw fix, so that the next fix
// primes again. Called by the chart window's no-fix timeout.
void ResetFixHistory(int port);

// The clock that fixes set; null restores the real clock. Tests install a fake.
void SetNavClock(os::Clock* clock);
// The clock in use: the one installed, else the real clock. The NMEA output
// takes its date from it.
os::Clock& NavClock();
