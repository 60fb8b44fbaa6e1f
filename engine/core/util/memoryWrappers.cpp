#include "util/memoryWrappers.h"

#include "util/reportError.h"

#include <cstdlib>

extern "C" {

void* allocOrDie(std::size_t size) {
    if (size == 0) return nullptr;
    void* p = std::malloc(size);
    if (!p) reportError("Out of memory\n");
    return p;
}

void* reallocOrDie(void* p, std::size_t size) {
    if (size == 0) {
        std::free(p);
        return nullptr;
    }
    void* q = std::realloc(p, size);
    if (!q) reportError("Out of memory.\n");
    return q;
}

int freeMem(void* p) {
    std::free(p);
    return 0;
}

} // extern "C"
