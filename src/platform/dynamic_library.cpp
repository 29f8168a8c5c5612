#include "platform/dynamic_library.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <link.h>
#endif

namespace kx {

#ifdef _WIN32

void* LoadLibraryA(const char* fileName) {
    if (fileName == nullptr || *fileName == '\0') {
        return nullptr;
    }
    return reinterpret_cast<void*>(::LoadLibraryA(fileName));
}

void* GetProcAddress(void* module, const char* name) {
    if (module == nullptr || name == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
}

#else

namespace {

// dlsym on a handle also searches the libraries the module depends on, while
// GetProcAddress only sees what the module itself exports; so an address found
// in another object does not count. Where the owner of the address cannot be
// determined, the address is trusted.
bool DefinedIn(void* module, void* address) {
#ifdef __GLIBC__
    Dl_info info{};
    link_map* owner = nullptr;
    link_map* own = nullptr;
    if (dladdr1(address, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0 || owner == nullptr) {
        return true;
    }
    if (dlinfo(module, RTLD_DI_LINKMAP, &own) != 0 || own == nullptr) {
        dlerror();
        return true;
    }
    return owner == own;
#else
    return true;
#endif
}

}  // namespace

void* LoadLibraryA(const char* fileName) {
    // dlopen(nullptr) would return the running program itself, which LoadLibraryA
    // never does.
    if (fileName == nullptr || *fileName == '\0') {
        return nullptr;
    }
    // RTLD_LOCAL keeps the library's symbols out of the global namespace, as on
    // Windows, where a loaded DLL never satisfies another module's imports.
    void* module = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        // Consume the pending error text so that it cannot be mistaken for the
        // cause of a later, unrelated failure.
        dlerror();
    }
    return module;
}

void* GetProcAddress(void* module, const char* name) {
    // A null handle means RTLD_DEFAULT to glibc, which would search every loaded
    // object instead of failing as GetProcAddress does.
    if (module == nullptr || name == nullptr) {
        return nullptr;
    }
    dlerror();
    void* address = dlsym(module, name);
    if (address == nullptr) {
        dlerror();
        return nullptr;
    }
    return DefinedIn(module, address) ? address : nullptr;
}

#endif

}  // namespace kx
