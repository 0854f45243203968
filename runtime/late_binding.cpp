// The late binder: the protocol and its messages; the system finds modules
// and functions (dlopen/dlsym, LoadLibrary/GetProcAddress).
#include "runtime/late_binding.h"

#include <cstdlib>
#include <mutex>
#include <vector>

#include "runtime/fatal.h"
#include "runtime/system.h"

namespace rt {
namespace {

struct Module {
    std::string name;
    system::ModuleHandle handle;
    bool loadedHere;  // only modules the binder loaded are released at exit
};

// Process-wide record of the modules the binder has opened, in loading order.
struct ModuleRegistry {
    std::mutex mutex;
    std::vector<Module> modules;
};

ModuleRegistry& Registry() {
    static ModuleRegistry registry;
    return registry;
}

system::ModuleHandle OpenModule(const std::string& name) {
    std::lock_guard lock(Registry().mutex);
    for (const Module& m : Registry().modules) {
        if (m.name == name) return m.handle;
    }
    // Present already: used as it is. Its reference is kept so that the
    // functions bound from it stay valid.
    if (system::ModuleHandle present = system::ReferencePresentModule(name)) {
        Registry().modules.push_back({name, present, false});
        return present;
    }
    system::ModuleHandle loaded = system::LoadModule(name);
    if (loaded != nullptr) Registry().modules.push_back({name, loaded, true});
    return loaded;
}

bool IsOrdinalName(const std::string& name) {
    return name.size() > 1 && name[0] == '#' &&
           name.find_first_not_of("0123456789", 1) == std::string::npos;
}

[[noreturn]] void BindingFailed(const std::string& message) {
    ReportMessage(message, "DLL ERROR");
    ExitProgram(0);
}

}  // namespace

void* Bind(const std::string& module, const std::string& exportName) {
    system::ModuleHandle handle = OpenModule(module);
    if (handle == nullptr)
        BindingFailed("同目录下无法找到DLL文件:\"" + module + "\".请与作者联系.");

    const std::string missing =
        "无法定位DLL文件:\"" + module + "\"当中的\"" + exportName + "\"函数.";
    void* address = nullptr;
    if (IsOrdinalName(exportName)) {
        const unsigned long ordinal = std::strtoul(exportName.c_str() + 1, nullptr, 10);
        if (ordinal <= 0xFFFF) address = system::FindExportByOrdinal(handle, ordinal);
    } else {
        std::string name = exportName;
        const std::size_t at = name.find('@');
        if (at != std::string::npos && at + 1 < name.size() && name[at + 1] == '@') name.resize(at);
        address = system::FindExport(handle, name);
    }
    if (address == nullptr) BindingFailed(missing);
    return address;
}

void ReleaseLateLoadedModules() {
    std::vector<Module> modules;
    {
        std::lock_guard lock(Registry().mutex);
        modules.swap(Registry().modules);
    }
    for (const Module& m : modules) {
        if (m.loadedHere) system::ReleaseModule(m.handle);
    }
}

}  // namespace rt
