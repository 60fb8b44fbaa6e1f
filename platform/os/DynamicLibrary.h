// Libraries loaded by name at run time and their entry points (the 3D
// exchange library and the like).
//
// A Windows name "X.DLL" (any case) is looked for as "libX.so" beside the
// running program first, without regard to ASCII case, then by that name
// through the system's loader (LD_LIBRARY_PATH, the cache, the default
// folders). A name holding "/" is a path and is loaded as it stands; any other
// name goes to the loader as it stands. Symbols are bound at once
// (RTLD_NOW) and kept to the library (RTLD_LOCAL).
#pragma once

#include <string>

namespace os {

class DynamicLibrary {
  public:
    DynamicLibrary() = default;
    ~DynamicLibrary(); // unloads the library
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Loads the library `name` (see above); a library already loaded by this
    // object is unloaded first. False, with the loader's message in error(),
    // when it cannot be loaded.
    bool load(const std::string& name);
    void unload();
    bool loaded() const { return handle_ != nullptr; }

    // The address of the symbol `name`; null, with the reason in error(), when
    // the library has none or nothing is loaded.
    void* symbol(const char* name) const;

    // The last failure's message; "" after a success.
    const std::string& error() const { return error_; }

  private:
    void* handle_ = nullptr;
    mutable std::string error_;
};

} // namespace os
