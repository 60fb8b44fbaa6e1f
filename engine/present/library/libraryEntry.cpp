#include "library/libraryEntry.h"

#include "graphics/GraphicsFonts.h"
#include "procedures/CondSymbProcs.h"

#include <dlfcn.h>

namespace {

void* moduleHandle = nullptr;
int attachCount = 0;

// The library's load address, its handle here.
void* thisModule() {
    Dl_info info{};
    return dladdr(reinterpret_cast<void*>(&SkjoldrEntryPoint), &info) ? info.dli_fbase : nullptr;
}

__attribute__((constructor)) void attachAtLoad() {
    SkjoldrEntryPoint(thisModule(), kProcessAttach, nullptr);
}

__attribute__((destructor)) void detachAtUnload() {
    SkjoldrEntryPoint(thisModule(), kProcessDetach, nullptr);
}

} // namespace

int SkjoldrEntryPoint(void* module, unsigned long reason, void*) {
    if (reason == kProcessAttach) {
        moduleHandle = module;
        if (attachCount == 0) {
            GD_Init(nullptr, 0, 0);
            InitCondSymbProcs();
        }
        ++attachCount;
    } else if (reason == kProcessDetach) {
        // A detach without an attach has nothing to undo.
        if (attachCount > 0 && --attachCount == 0) GD_Done();
    }
    return 1;
}

void* SkjoldrModule() {
    return moduleHandle;
}
