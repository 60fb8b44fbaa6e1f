// The exchange library between the navigation program and the 3D viewer:
// one record of 128 bytes and three 32-bit status words, shared by every
// process of the user that loads the library (the program and the viewer).
//
// Record copies are whole: a reader never sees half of another process's
// write. Status words are read and written atomically; a change of single bits
// is a read followed by a write, and the program and the viewer keep to the
// protocol of status word C so that they never write the record at once.
//
// The program binds these eight names at run time (D5ARER.DLL, found as
// libD5ARER.so beside the program); they are unmangled.
#pragma once

#include <cstdint>

#define D5ARER_EXPORT __attribute__((visibility("default")))

extern "C" {
// Copies `length` bytes of `record` into the shared record; bytes beyond 128
// are not taken. A null record or a length of 0 or less changes nothing.
D5ARER_EXPORT void _tPutRec(const void* record, int length);
// Copies the shared record into `record`: its first min(length, 128) bytes,
// then zeros up to `length`. A null record or a length of 0 or less writes
// nothing; without the shared segment every byte is 0.
D5ARER_EXPORT void _tGetRec(void* record, int length);
// The status words A, B and C; 0 when the shared segment is not there.
D5ARER_EXPORT void _tPutStatA(std::uint32_t word);
D5ARER_EXPORT void _tPutStatB(std::uint32_t word);
D5ARER_EXPORT void _tPutStatC(std::uint32_t word);
D5ARER_EXPORT std::uint32_t _tGetStatA();
D5ARER_EXPORT std::uint32_t _tGetStatB();
D5ARER_EXPORT std::uint32_t _tGetStatC();
}

// Pointer types the program binds the entry points to.
using TPutRecFn = void (*)(const void*, int);
using TGetRecFn = void (*)(void*, int);
using TPutStatFn = void (*)(std::uint32_t);
using TGetStatFn = std::uint32_t (*)();

// Size of the shared record in bytes.
inline constexpr int kExchangeRecordSize = 128;
