#include "os/DynamicLibrary.h"

#include "os/drives.h"
#include "os/findNoCase.h"

#include <dlfcn.h>

namespace os {

namespace {

bool endsWithDll(const std::string& name) {
    const std::size_t n = name.size();
    return n > 4 && name[n - 4] == '.' && (name[n - 3] | 0x20) == 'd' &&
           (name[n - 2] | 0x20) == 'l' && (name[n - 1] | 0x20) == 'l';
}

} // namespace

DynamicLibrary::~DynamicLibrary() {
    unload();
}

void DynamicLibrary::unload() {
    if (handle_) ::dlclose(handle_);
    handle_ = nullptr;
}

bool DynamicLibrary::load(const std::string& name) {
    unload();
    std::string file = name;
    if (name.find('/') == std::string::npos && endsWithDll(name)) {
        file = "lib" + name.substr(0, name.size() - 4) + ".so";
        const std::string folder = programDirectory();
        const std::string beside = folder.empty() ? "" : findNoCase(folder + "/" + file);
        if (!beside.empty()) file = beside;
    }
    ::dlerror();
    handle_ = file.empty() ? nullptr : ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = ::dlerror();
        error_ = why ? why : name + ": cannot be loaded";
        return false;
    }
    error_.clear();
    return true;
}

void* DynamicLibrary::symbol(const char* name) const {
    if (!handle_ || !name) {
        error_ = "no library loaded";
        return nullptr;
    }
    ::dlerror();
    void* address = ::dlsym(handle_, name);
    if (!address) {
        const char* why = ::dlerror();
        error_ = why ? why : std::string(name) + ": no such symbol";
        return nullptr;
    }
    error_.clear();
    return address;
}

} // namespace os
