// The late binder: modules through dlopen, functions through dlsym.
#include "runtime/late_binding.h"

#include <dlfcn.h>

#include <mutex>
#include <vector>

#include "runtime/fatal.h"

namespace rt {
namespace {

struct Module {
    std::string name;
    void* handle;
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

void* OpenModule(const std::string& name) {
    std::lock_guard lock(Registry().mutex);
    for (const Module& m : Registry().modules) {
        if (m.name == name) return m.handle;
    }
    // Present already: used as it is. The reference RTLD_NOLOAD takes is kept
    // so that the functions bound from it stay valid.
    if (void* present = dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD)) {
        Registry().modules.push_back({name, present, false});
        return present;
    }
    void* loaded = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (loaded != nullptr) Registry().modules.push_back({name, loaded, true});
    return loaded;
}

[[noreturn]] void BindingFailed(const std::string& message) {
    ReportMessage(message, "DLL ERROR");
    ExitProgram(0);
}

}  // namespace

void* Bind(const std::string& module, const std::string& exportName) {
    void* handle = OpenModule(module);
    if (handle == nullptr)
        BindingFailed("同目录下无法找到DLL文件:\"" + module + "\".请与作者联系.");

    const std::string missing =
        "无法定位DLL文件:\"" + module + "\"当中的\"" + exportName + "\"函数.";
    // "#digits" names an export by ordinal, which shared objects do not have.
    if (!exportName.empty() && exportName[0] == '#') BindingFailed(missing);

    std::string name = exportName;
    const std::size_t at = name.find('@');
    if (at != std::string::npos && at + 1 < name.size() && name[at + 1] == '@') name.resize(at);

    void* address = dlsym(handle, name.c_str());
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
        if (m.loadedHere) dlclose(m.handle);
    }
}

}  // namespace rt
