// The browser build's ZipWriter: libzip is not there, so the package's parts are written
// uncompressed, one after another ("NAME\nSIZE\nBYTES"), and the page zips them with fflate
// (web/src/docx.js). The document module above it is the native one, unchanged.
#include <fstream>

#include "document/zip_writer.h"

namespace quoinry::document {

struct ZipWriter::Streamed {
    std::string name;
    std::uint64_t size = 0;
    ZipStream* stream = nullptr;
};

// data_ holds the file's path first, then the entries' names and bytes in turn; streams_ the
// streamed entries, whose place among them is an empty name.
ZipWriter::ZipWriter(const std::filesystem::path& file) {
    data_.push_back(file.string());
}

ZipWriter::~ZipWriter() {
    static_cast<void>(archive_);
}

void ZipWriter::Add(const std::string& name, std::string data) {
    data_.push_back(name);
    data_.push_back(std::move(data));
}

void ZipWriter::AddStream(const std::string& name, std::uint64_t size, ZipStream& stream) {
    streams_.push_back({name, size, &stream});
    data_.push_back("");
    data_.push_back("");
}

void ZipWriter::AddSource(const std::string&, zip_source*) {}

void ZipWriter::Close() {
    std::size_t streamed = 0;
    std::string out;
    for (std::size_t i = 1; i + 1 < data_.size(); i += 2) {
        std::string name = data_[i];
        std::string bytes = data_[i + 1];
        if (name.empty()) {
            const Streamed& s = streams_[streamed++];
            name = s.name;
            char buffer[65536];
            while (const std::size_t n = s.stream->Read(buffer, sizeof buffer))
                bytes.append(buffer, n);
        }
        out += name + "\n" + std::to_string(bytes.size()) + "\n" + bytes;
    }
    std::ofstream file(data_.front(), std::ios::binary);
    file << out;
    if (!file.flush())
        throw ZipError("无法写入计算书的临时文件");
}

}  // namespace quoinry::document
