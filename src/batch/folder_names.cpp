#include "batch/folder_names.h"

#include "common/text.h"

namespace quoinry {
namespace {

// File systems take 255 bytes; room is left for a number and a temporary suffix.
constexpr std::size_t kMaxNameBytes = 180;

constexpr std::string_view kReservedOnWindows[] = {"con",  "prn",  "aux",  "nul",  "com1", "com2",
                                                   "com3", "com4", "lpt1", "lpt2", "lpt3"};

}  // namespace

std::string SafeFileName(std::string_view name) {
    constexpr std::string_view kUnsafe = "/\\:*?\"<>|";
    std::string safe;
    for (const char c : name) {
        const bool unsafe = kUnsafe.find(c) != std::string_view::npos ||
                            static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        safe += unsafe ? '_' : c;
    }
    if (safe.size() > kMaxNameBytes) {
        std::size_t cut = kMaxNameBytes;
        // Not inside a UTF-8 character.
        while (cut > 0 && (static_cast<unsigned char>(safe[cut]) & 0xC0) == 0x80) --cut;
        safe.resize(cut);
    }
    while (!safe.empty() && (safe.back() == '.' || safe.back() == ' ')) safe.pop_back();
    while (!safe.empty() && (safe.front() == '.' || safe.front() == ' ')) safe.erase(0, 1);
    const std::string lower = AsciiLower(safe.substr(0, safe.find('.')));
    for (std::string_view reserved : kReservedOnWindows) {
        if (lower == reserved)
            return "_" + safe;
    }
    return safe;
}

FolderNames::FolderNames(const std::vector<std::string>& reserved) {
    for (const std::string& name : reserved) used_.insert(AsciiLower(name));
}

std::string FolderNames::Take(std::string_view name, std::string_view fallback) {
    std::string base = SafeFileName(name);
    if (base.empty())
        base = SafeFileName(fallback);
    std::string folder = base;
    for (int number = 2; !used_.insert(AsciiLower(folder)).second; ++number)
        folder = base + "_" + std::to_string(number);
    return folder;
}

}  // namespace quoinry
