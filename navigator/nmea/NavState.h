// The own vessel's state as the NMEA input leaves it, shared between the
// serial reader threads, the chart window and the NMEA output.
#pragma once

#include <cstdint>
#include <functional>

// The navigation state proper. Angles in degrees, speeds as noted.
struct NavState {
    std::uint8_t fixCount = 0;   // raised by a reader for every buffer that committed a fix (wraps)
    std::uint8_t fixValid = 0;   // GGA quality number, or 1 for status "A" and 0 for "V"
    double longitude = 0;        // degrees, east positive, -180 to 180
    double latitude = 0;         // degrees, north positive, -85 to 85 once committed
    float courseOverGround = 0;  // degrees true, 0 to 360
    float speedOverGround = 0;   // knots
    std::int8_t headingHold = 0; // while above 0, heading is used in place of the course
    float heading = 0;           // degrees
    float depth = 0;             // metres below the transducer (plus the sounder's offset), >= 0
    float windDirection = 0;     // degrees, 0 to 360
    float windSpeed = 0;         // metres per second
};

// The fields of the last accepted sentences, as read from them.
struct NmeaParseFields {
    int hours = 0, minutes = 0;
    float seconds = 0;      // its integer part is used
    int day = 0, month = 0; // day 0: no date received
    int year = 0;           // two digits from RMC, four from ZDA
    long latitudeDegrees = 0;
    float latitudeMinutes = 0;
    char northSouth = 'N'; // 'N' or 'S'
    long longitudeDegrees = 0;
    float longitudeMinutes = 0;
    char eastWest = 'X'; // 'E' or 'W'; preset to 'X' before every sentence
    float windAngle = 0; // degrees
    float windSpeed = 0; // metres per second, as the wind instrument gave it
};

// Position sources: which sentences carry the position.
enum NmeaPositionSource : std::int32_t {
    NmeaSourceAuto = 0, // GGA or GLL with VTG, else RMC
    NmeaSourceGgaVtg = 1,
    NmeaSourceGllVtg = 2,
    NmeaSourceRmc = 3,
};

// Everything the NMEA input shares, published as one consistent record.
struct NavShared {
    NavState nav;
    std::int8_t satelliteCount = -1; // -1: unknown (the chart window's start value)
    std::uint8_t ggaSeen = 0, gllSeen = 0, vtgSeen = 0; // cleared by the no-fix timeout
    std::uint8_t newFix = 0, fixSinceTimeout = 0;       // set by a reader on a committed fix
    std::int32_t outputPort = -1;                       // port 0 to 5 of the first committed fix
    std::uint8_t dateSet = 0;                           // the PC date is set once per run
    double lastRawLongitude = 0, lastRawLatitude = 0;   // last fix as received; latitude 0: none
    float windHeading = 0; // heading the relative wind is turned by, degrees
    NmeaParseFields parse;
    std::int32_t magneticVariation = 1; // whole degrees, east positive
    std::int32_t positionSource = NmeaSourceAuto;
};

// A copy of the shared record, taken under its lock.
NavShared NavSnapshot();

// Runs change on the shared record under its lock (re-entrant). Whatever the
// callable does is seen by others as one step.
void UpdateNavShared(const std::function<void(NavShared&)>& change);
