#include "ResourceModule.h"

#include <atomic>

namespace CommonCpp {

namespace {
std::atomic<HMODULE> g_resourceModule{nullptr};
}

void SetResourceModule(HMODULE module) {
    g_resourceModule.store(module);
}

HMODULE GetResourceModule() {
    HMODULE module = g_resourceModule.load();
    return module != nullptr ? module : GetModuleHandleA(nullptr);
}

} // namespace CommonCpp
