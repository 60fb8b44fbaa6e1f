// Allocation that never hands back null for a real request: a failure leaves
// through reportError (a const char* exception "ERROR: Out of memory...").
#pragma once

#include <cstddef>

extern "C" {

// malloc(size); size 0 gives null. Failure: reportError("Out of memory\n").
void* allocOrDie(std::size_t size);

// realloc(p, size); size 0 frees p and gives null. Failure:
// reportError("Out of memory.\n"), and p stays allocated and owned by the
// caller.
void* reallocOrDie(void* p, std::size_t size);

// free(p) (null is fine); returns 0.
int freeMem(void* p);

} // extern "C"
