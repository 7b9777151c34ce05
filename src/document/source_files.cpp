#include "document/source_files.h"

#include <cstdint>
#include <optional>
#include <system_error>
#include <utility>

#include "common/cp936.h"
#include "common/file_bytes.h"
#include "document/document_error.h"
#include "profile/wmf_reader.h"

namespace quoinry::document {
namespace {

// Far beyond any report or section picture the program writes (a few kilobytes); a larger file
// would take many times its size in memory while the document is laid out.
constexpr std::uintmax_t kMaxSourceBytes = 16u << 20;

std::string ReadWholeFile(const std::filesystem::path& file, DocumentProblem missing,
                          DocumentProblem unreadable) {
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        throw DocumentError(missing, file);
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size > kMaxSourceBytes)
        throw DocumentError(DocumentProblem::SourceTooLarge, file);
    std::optional<std::string> bytes = ReadFileBytes(file);
    if (!bytes)
        throw DocumentError(unreadable, file);
    return std::move(*bytes);
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

std::vector<std::string> ReadReportLines(const std::filesystem::path& file) {
    const std::string bytes =
        ReadWholeFile(file, DocumentProblem::ReportMissing, DocumentProblem::ReportUnreadable);
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(bytes)) lines.push_back(Cp936ToUtf8(line));
    return lines;
}

std::string ReadSectionPicture(const std::filesystem::path& file) {
    std::string bytes =
        ReadWholeFile(file, DocumentProblem::PictureMissing, DocumentProblem::PictureUnreadable);
    if (!IsWindowsMetafile(bytes))
        throw DocumentError(DocumentProblem::PictureNotMetafile, file);
    // A word processor would show a broken picture, or none, without a word.
    if (!profile::ReadWmf(bytes).message.empty())
        throw DocumentError(DocumentProblem::PictureDamaged, file);
    return bytes;
}

}  // namespace quoinry::document
