// The test-port library of the setup program: open a serial port by its
// settings text, read what has arrived, close it. Plain functions over
// os::SerialPort, for one thread (the setup program polls from a form timer).
#pragma once

#include <cstdint>

// Opens the port of a settings text "COMn:BAUD,PARITY,DATA,STOP" (see
// os::parseSerialSettings; COMn opens the device the navigation program
// opens). A trailing fifth field "X" is dropped: the port opens exactly as the
// navigation program opens the same settings, without handshake. Returns the
// lowest free handle 1 to 999, or 0 for a null or malformed text, a device that
// does not open, or 999 ports open.
std::int32_t TMOpenComm(const char* settings);

// `buffer` holds at least 257 bytes and, on entry, a handle as NUL-ended
// decimal text. Reads what has arrived on that port, at most 256 bytes, without
// waiting, into the start of the buffer (not NUL-ended) and returns the count:
// 0 when nothing has arrived, -1 for a null buffer, a text that is no open
// handle, or a line that failed or hung up. Never touches more than the 257
// bytes.
std::int32_t TMReadComm(char* buffer);

// Closes the port of `handle` and frees the handle; 1, or 0 for a handle that
// is not open (nothing is done).
std::int32_t TMCloseComm(std::int32_t handle);
