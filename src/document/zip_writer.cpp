#include "document/zip_writer.h"

#include <zip.h>

#include <ctime>

namespace quoinry::document {

// One streamed entry as libzip's source callback sees it.
struct ZipWriter::Streamed {
    ZipStream* stream;
    std::uint64_t size;
    std::exception_ptr* failure;
    zip_error_t error;
};

namespace {

zip_int64_t StreamCallback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto& streamed = *static_cast<ZipWriter::Streamed*>(state);
    switch (command) {
        case ZIP_SOURCE_OPEN:
        case ZIP_SOURCE_CLOSE:
        case ZIP_SOURCE_FREE:
            return 0;
        case ZIP_SOURCE_READ:
            // Nothing may be thrown through libzip's C frames.
            try {
                return static_cast<zip_int64_t>(streamed.stream->Read(
                    static_cast<char*>(data), static_cast<std::size_t>(length)));
            } catch (...) {
                *streamed.failure = std::current_exception();
                zip_error_set(&streamed.error, ZIP_ER_READ, 0);
                return -1;
            }
        case ZIP_SOURCE_STAT: {
            auto* stat = static_cast<zip_stat_t*>(data);
            zip_stat_init(stat);
            stat->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
            stat->size = streamed.size;
            stat->mtime = std::time(nullptr);
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&streamed.error, data, length);
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ,
                                                  ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        default:
            zip_error_set(&streamed.error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
    }
}

}  // namespace

ZipWriter::ZipWriter(const std::filesystem::path& file) {
    int code = 0;
    archive_ = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive_ == nullptr) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        std::string message = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw ZipError(message);
    }
}

ZipWriter::~ZipWriter() {
    if (archive_ != nullptr)
        zip_discard(archive_);
    for (Streamed& streamed : streams_) zip_error_fini(&streamed.error);
}

void ZipWriter::AddSource(const std::string& name, zip_source_t* source) {
    if (source == nullptr)
        throw ZipError(zip_strerror(archive_));
    if (zip_file_add(archive_, name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
        zip_source_free(source);
        throw ZipError(zip_strerror(archive_));
    }
}

void ZipWriter::Add(const std::string& name, std::string data) {
    const std::string& kept = data_.emplace_back(std::move(data));
    AddSource(name, zip_source_buffer(archive_, kept.data(), kept.size(), 0));
}

void ZipWriter::AddStream(const std::string& name, std::uint64_t size, ZipStream& stream) {
    Streamed& streamed = streams_.emplace_back(Streamed{&stream, size, &failure_, {}});
    zip_error_init(&streamed.error);
    AddSource(name, zip_source_function(archive_, StreamCallback, &streamed));
}

void ZipWriter::Close() {
    if (zip_close(archive_) != 0) {
        if (failure_)
            std::rethrow_exception(failure_);
        zip_error_t* error = zip_get_error(archive_);
        const bool system = zip_error_system_type(error) == ZIP_ET_SYS;
        throw ZipError(zip_strerror(archive_), system ? zip_error_code_system(error) : 0);
    }
    archive_ = nullptr;
    data_.clear();
}

}  // namespace quoinry::document
