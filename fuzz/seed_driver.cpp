// Runs a fuzz target once on each file named (folders: each file in them), without libFuzzer,
// so that any compiler builds the targets and the sanitizer tests run them on their seeds.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void RunOn(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 0;
    // An empty input is every target's first case; libFuzzer passes it as a valid pointer.
    static const std::uint8_t kNothing = 0;
    LLVMFuzzerTestOneInput(&kNothing, 0);
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
        } else {
            files.push_back(path);
        }
        for (const auto& file : files) {
            RunOn(file);
            ++runs;
        }
    }
    std::cout << runs << " inputs and the empty one ran\n";
    return 0;
}
