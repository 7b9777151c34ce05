#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace quoinry {

// Writes `bytes` to `file` through a temporary file in the same folder that replaces it in one
// rename, so that readers and crashes see the old file or the new one, never half of one. When
// anything fails (full disk, read-only folder) the old file stays as it was, the temporary file
// is removed and the error is returned; an empty error code means written.
std::error_code WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// Creates an empty file under a hidden name beside `file` (".NAME.XXXXXX" in its folder), to be
// written and then renamed over `file`: its descriptor and `temporary` set, or -1 with errno.
int CreateTemporaryBeside(const std::filesystem::path& file, std::filesystem::path& temporary);

// The system's text for an error, for messages ("Permission denied" becomes "权限被拒绝").
std::string DescribeFileError(const std::error_code& error);

}  // namespace quoinry
