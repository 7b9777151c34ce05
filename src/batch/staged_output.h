#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace quoinry {

// An output file written under a hidden temporary name beside its final place and renamed
// there only by Commit(), so that an interrupted or failed batch never leaves half a file (nor
// harms an older one). Write failures are kept and raised by Commit().
class StagedOutput {
  public:
    // Creates the temporary file; throws BatchError when the folder takes no file.
    explicit StagedOutput(const std::filesystem::path& target);
    // Removes the temporary file unless committed.
    ~StagedOutput();
    StagedOutput(const StagedOutput&) = delete;
    StagedOutput& operator=(const StagedOutput&) = delete;

    const std::filesystem::path& temporary() const { return temporary_; }
    const std::filesystem::path& target() const { return target_; }

    // Appends bytes (for writers that write through this object).
    void Write(std::string_view bytes);
    // Closes our handle, so that a library may write the temporary file by its name.
    void Release();
    // Flushes to disk and renames over the target; throws BatchError naming the target.
    void Commit();

  private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    int write_error_ = 0;  // errno of the first failed write
    bool committed_ = false;
};

}  // namespace quoinry
