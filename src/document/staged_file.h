#pragma once

#include <filesystem>

#include "document/docx_document.h"

namespace quoinry::document {

// A file written under a temporary name in the folder of its final place and moved there only
// when complete, so a failed build never leaves a half-written document or harms an older one.
class StagedFile {
  public:
    // Picks a name that does not exist yet in `folder`; creates nothing.
    explicit StagedFile(const std::filesystem::path& folder);
    // Removes the temporary file unless it has been moved.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Moves the file to `target`, replacing a file there unless it is read-only; false when
    // that cannot be done (error() says why), and the temporary file stays for another try.
    bool MoveTo(const std::filesystem::path& target);
    // The errno of the last failed move.
    int error() const { return error_; }

  private:
    std::filesystem::path path_;
    bool moved_ = false;
    int error_ = 0;
};

// Writes `document` as a .docx file to the staged file; throws DocumentError naming `out`, the
// file it is meant for, when that fails or `stop` is set.
void WriteStaged(const PartedDocument& document, const StagedFile& staged,
                 const std::filesystem::path& out, StopFlag stop = nullptr);

}  // namespace quoinry::document
