#include "design/recent_designs.h"

#include <algorithm>
#include <string>

#include "common/atomic_file.h"
#include "common/file_bytes.h"

namespace quoinry {
namespace {

void WriteList(const std::filesystem::path& list_file,
               const std::vector<std::filesystem::path>& designs) {
    std::string text;
    for (const auto& design : designs) text += design.string() + "\n";
    WriteFileAtomically(list_file, text);
}

}  // namespace

std::vector<std::filesystem::path> ReadRecentDesigns(const std::filesystem::path& list_file) {
    std::vector<std::filesystem::path> designs;
    const std::optional<std::string> bytes = ReadFileBytes(list_file);
    if (!bytes)
        return designs;
    std::size_t start = 0;
    while (start < bytes->size() && designs.size() < kRecentDesignCount) {
        std::size_t end = bytes->find('\n', start);
        if (end == std::string::npos)
            end = bytes->size();
        const std::string line = bytes->substr(start, end - start);
        if (!line.empty() && std::find(designs.begin(), designs.end(), line) == designs.end())
            designs.emplace_back(line);
        start = end + 1;
    }
    return designs;
}

void AddRecentDesign(const std::filesystem::path& list_file, const std::filesystem::path& design) {
    std::vector<std::filesystem::path> designs = ReadRecentDesigns(list_file);
    std::erase(designs, design);
    designs.insert(designs.begin(), design);
    if (designs.size() > kRecentDesignCount)
        designs.resize(kRecentDesignCount);
    WriteList(list_file, designs);
}

void RemoveRecentDesign(const std::filesystem::path& list_file,
                        const std::filesystem::path& design) {
    std::vector<std::filesystem::path> designs = ReadRecentDesigns(list_file);
    std::erase(designs, design);
    WriteList(list_file, designs);
}

}  // namespace quoinry
