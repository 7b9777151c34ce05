#include "db/save_chunk.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include "common/calc_error.h"
#include "db/connection.h"
#include "db/database_error.h"

namespace quoinry::db {
namespace {

[[noreturn]] void RaiseFileError(int error_number) {
    throw CalcError(error_number == EACCES || error_number == EPERM || error_number == EROFS
                        ? ErrorKind::PermissionDenied
                        : ErrorKind::PathFileAccess);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

void SaveChunkToFile(Field& field, const std::filesystem::path& file, std::int32_t chunk_size) {
    if ((field.Attributes() & kLongDataAttribute) == 0) {
        throw DatabaseError(kNoGetChunkError, "Field doesn't support the GetChunk method.");
    }
    std::int64_t remaining = field.ActualSize();
    if (remaining > 0 && chunk_size <= 0)
        throw CalcError(ErrorKind::InvalidCall);
    std::error_code error;
    if (std::filesystem::exists(file, error) && !std::filesystem::remove(file, error)) {
        RaiseFileError(error.value());
    }
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(file.c_str(), "wb"));
    if (!out)
        RaiseFileError(errno);
    while (remaining > 0) {
        const Bytes piece = field.GetChunk(std::min<std::int64_t>(remaining, chunk_size));
        if (piece.empty())
            break;
        if (std::fwrite(piece.data(), 1, piece.size(), out.get()) != piece.size()) {
            RaiseFileError(errno);
        }
        remaining -= static_cast<std::int64_t>(piece.size());
    }
    if (std::fclose(out.release()) != 0)
        RaiseFileError(errno);
}

}  // namespace quoinry::db
