// The navigation program's serial ports: six slots (port 0 is "Comport1"),
// one reader thread per open port feeding the NMEA input, and one writer
// thread that sends the NMEA output on the output port.
//
// Ports are opened and closed on one thread (the program's GUI thread). The
// readers and the writer own nothing shared without a lock: each port's parse
// state belongs to its reader, the navigation record is taken under its lock,
// and the output text is handed to the writer under the writer's lock.
#pragma once

// Opens port 0 to 5 with a settings text such as "COM1:4800,n,8,1" or
// "/dev/ttyUSB0:4800,n,8,1" (the device is the text before the first ":") and
// starts its reader thread. A port already open is closed first. Returns false,
// and starts nothing, when the port number is out of range or the device cannot
// be opened or set up.
bool OpenComPort(int port, const char* settings);

// Stops the port's reader (and the writer when this is the output port): they
// are woken and joined before the device is closed; DTR and RTS are dropped and
// both queues discarded. Returns 0, or -1 when the port is not open.
int CloseComPort(int port);

// Starts the writer thread for the output port (which = 0; other values do
// nothing). Does nothing when a writer runs already, when no output port has
// been chosen or when that port is not open. Returns true when it started one.
// Called by the NMEA input at the first committed fix.
bool StartPortWriter(int which);

// Hands a copy of text (complete NMEA sentences) to the writer and wakes it;
// the writer sends the whole text, so a sentence is never torn. A text handed
// over before the writer has sent the previous one replaces it.
void SignalPortWriter(const char* text);

// The reader thread of a port: reads what arrives (waiting at most 2 s per
// round, so a stop is seen promptly even without a wake-up), hands every
// non-empty read to ParseNmeaBuffer and marks committed fixes in the shared
// record. After a read error it closes the device and tries to open it again
// every 2 s until it answers. Returns 1.
int PortReaderThread(int port);

// The writer thread: waits for SignalPortWriter and writes the text on the
// output port until that port is closed. Returns 1.
int PortWriterThread();
