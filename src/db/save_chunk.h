#pragma once

#include <cstdint>
#include <filesystem>

namespace quoinry::db {

class Field;

// Writes the bytes of a long binary column to `file`, replacing it, in pieces of at most
// `chunk_size` bytes. Raises error 1001 "Field doesn't support the GetChunk method." for a
// column without the long-data attribute (nothing written); a file that cannot be replaced or
// written raises "权限被拒绝" or "路径/文件访问错误". A NULL or empty column leaves an empty file.
void SaveChunkToFile(Field& field, const std::filesystem::path& file, std::int32_t chunk_size);

}  // namespace quoinry::db
