#include "platform/plugin.h"

#include <dlfcn.h>

namespace quoinry::platform {

void* LoadModuleFunction(const std::filesystem::path& file, const char* symbol,
                         std::string& error) {
    // The module stays loaded until the process ends: its static objects may outlive the call.
    void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        error = dlerror();
        return nullptr;
    }
    void* function = dlsym(module, symbol);
    if (function == nullptr)
        error = dlerror();
    return function;
}

std::optional<int> CallModuleCommand(const std::filesystem::path& file, const char* symbol,
                                     const std::string& command,
                                     const std::vector<std::string>& args, std::string& error) {
    using Entry = int (*)(const char*, int, const char* const*);
    auto entry = reinterpret_cast<Entry>(LoadModuleFunction(file, symbol, error));
    if (entry == nullptr)
        return std::nullopt;
    std::vector<const char*> argv;
    argv.reserve(args.size());
    for (const auto& arg : args) argv.push_back(arg.c_str());
    return entry(command.c_str(), static_cast<int>(argv.size()), argv.data());
}

}  // namespace quoinry::platform
