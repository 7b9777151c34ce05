#include "document/staged_file.h"

#include <cstdint>
#include <random>
#include <string>
#include <system_error>

#include "common/atomic_file.h"
#include "document/document_error.h"
#include "document/zip_writer.h"

namespace quoinry::document {
namespace {

std::string RandomHex() {
    static std::mt19937_64 generator{std::random_device{}()};
    constexpr char kDigits[] = "0123456789abcdef";
    std::uint64_t value = generator();
    std::string text;
    for (int i = 0; i < 16; ++i, value >>= 4) text += kDigits[value & 0xF];
    return text;
}

}  // namespace

StagedFile::StagedFile(const std::filesystem::path& folder) {
    std::error_code error;
    do {
        path_ = folder / (".quoinry-" + RandomHex() + ".tmp");
    } while (std::filesystem::exists(path_, error));
}

StagedFile::~StagedFile() {
    if (moved_)
        return;
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

bool StagedFile::MoveTo(const std::filesystem::path& target) {
    std::error_code error = RefuseReadOnly(target);
    if (!error)
        std::filesystem::rename(path_, target, error);
    if (error) {
        error_ = error.value();
        return false;
    }
    moved_ = true;
    return true;
}

void WriteStaged(const PartedDocument& document, const StagedFile& staged,
                 const std::filesystem::path& out, StopFlag stop) {
    try {
        WriteDocx(document, staged.path(), stop, out);
    } catch (const ZipError& error) {
        throw DocumentError(DocumentProblem::DocumentUnwritable, out, error.system_error());
    }
}

}  // namespace quoinry::document
