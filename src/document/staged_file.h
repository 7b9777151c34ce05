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

    // Moves the file to `target`, replacing a file there; false when that cannot be done, and
    // the temporary file stays for another try.
    bool MoveTo(const std::filesystem::path& target);

  private:
    std::filesystem::path path_;
    bool moved_ = false;
};

// Writes `document` as a .docx file to the staged file; throws DocumentError naming `out`, the
// file it is meant for, when that fails or `stop` is set.
void WriteStaged(const PartedDocument& document, const StagedFile& staged,
                 const std::filesystem::path& out, StopFlag stop = nullptr);

}  // namespace quoinry::document
