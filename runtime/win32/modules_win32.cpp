// Modules and their functions through LoadLibrary and GetProcAddress.
#include <windows.h>

#include "runtime/system.h"

namespace rt::system {

ModuleHandle ReferencePresentModule(const std::string& name) {
    HMODULE module = nullptr;
    // Flags 0: the module's reference count goes up, as dlopen's would.
    if (!GetModuleHandleExA(0, name.c_str(), &module)) return nullptr;
    return module;
}

ModuleHandle LoadModule(const std::string& name) { return LoadLibraryA(name.c_str()); }

void ReleaseModule(ModuleHandle module) { FreeLibrary(static_cast<HMODULE>(module)); }

void* FindExport(ModuleHandle module, const std::string& name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name.c_str()));
}

void* FindExportByOrdinal(ModuleHandle module, unsigned ordinal) {
    return reinterpret_cast<void*>(
        GetProcAddress(static_cast<HMODULE>(module), MAKEINTRESOURCEA(ordinal)));
}

}  // namespace rt::system
