// Modules and their functions through dlopen and dlsym.
#include <dlfcn.h>

#include "runtime/system.h"

namespace rt::system {

ModuleHandle ReferencePresentModule(const std::string& name) {
    return dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD);
}

ModuleHandle LoadModule(const std::string& name) {
    return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void ReleaseModule(ModuleHandle module) { dlclose(module); }

void* FindExport(ModuleHandle module, const std::string& name) {
    return dlsym(module, name.c_str());
}

// Shared objects export by name only.
void* FindExportByOrdinal(ModuleHandle, unsigned) { return nullptr; }

}  // namespace rt::system
