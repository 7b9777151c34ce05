#include "document/zip_writer.h"

#include <zip.h>

namespace quoinry::document {

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
}

void ZipWriter::Add(const std::string& name, std::string data) {
    const std::string& kept = data_.emplace_back(std::move(data));
    zip_source_t* source = zip_source_buffer(archive_, kept.data(), kept.size(), 0);
    if (source == nullptr)
        throw ZipError(zip_strerror(archive_));
    if (zip_file_add(archive_, name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
        zip_source_free(source);
        throw ZipError(zip_strerror(archive_));
    }
}

void ZipWriter::Close() {
    if (zip_close(archive_) != 0)
        throw ZipError(zip_strerror(archive_));
    archive_ = nullptr;
    data_.clear();
}

}  // namespace quoinry::document
