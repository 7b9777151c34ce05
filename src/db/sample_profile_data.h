#pragma once

#include <span>
#include <string_view>

namespace quoinry::db {

struct EmbeddedFile {
    std::string_view name;
    std::string_view bytes;
};

// data/profiles/profiles.tsv and the section pictures it names, built into the program.
std::span<const EmbeddedFile> SampleProfileFiles();

}  // namespace quoinry::db
