// Helpers shared by the NMEA input tests and the NMEA benchmark.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "nmea/NavState.h"
#include "nmea/NmeaInput.h"

// "$" + body + "*" + its checksum.
inline std::string withChecksum(std::string_view body) {
    unsigned x = 0;
    for (char c : body)
        x ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X", x);
    return "$" + std::string(body) + tail;
}

// A complete line: checksummed sentence with carriage return and line feed.
inline std::string line(std::string_view body) {
    return withChecksum(body) + "\r\n";
}

// Hands text to the port's parser in reads of at most chunk bytes; returns 1
// when any read committed a fix.
inline int feed(int port, std::string_view text, std::size_t chunk = 80) {
    NmeaPortState* p = NmeaPort(port);
    int result = 0;
    if (chunk > kNmeaReadBufferSize) chunk = kNmeaReadBufferSize;
    for (std::size_t at = 0; at < text.size(); at += chunk) {
        std::size_t n = std::min(chunk, text.size() - at);
        std::memcpy(p->readBuffer, text.data() + at, n);
        p->readCount = static_cast<std::uint32_t>(n);
        result |= ParseNmeaBuffer(port);
    }
    return result;
}

// Back to the state of a fresh start: shared record and every port's parser.
inline void resetNmeaInput() {
    UpdateNavShared([](NavShared& s) { s = NavShared(); });
    for (int port = 0; port < kNmeaPortCount; ++port)
        *NmeaPort(port) = NmeaPortState();
}
