#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace quoinry {

// Whether a written file is flushed to the disk before it replaces the older one.
enum class Durability { Synced, Unsynced };

// Writes `bytes` to `file` through a temporary file in the same folder that replaces it in one
// rename, so that readers and crashes see the old file or the new one, never half of one. When
// anything fails (full disk, read-only folder) the old file stays as it was, the temporary file
// is removed and the error is returned; an empty error code means written. A read-only file is
// not replaced (see RefuseReadOnly); a link at `file` is replaced itself, its target untouched.
std::error_code WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                                    Durability durability = Durability::Synced);

// "Permission denied" when `file` exists and is read-only (no write permission for anyone, or
// none for this user): the engineer protected it, so even root does not replace it.
std::error_code RefuseReadOnly(const std::filesystem::path& file);

// Creates an empty file under a hidden name beside `file` (".NAME.XXXXXX" in its folder), to be
// written and then renamed over `file`: its descriptor and `temporary` set, or -1 with errno.
int CreateTemporaryBeside(const std::filesystem::path& file, std::filesystem::path& temporary);

// The cause of a file error in Chinese, for messages ("No space left on device" becomes
// "磁盘空间不足"); the system's own text with its number where no translation is known.
std::string DescribeFileError(const std::error_code& error);

}  // namespace quoinry
