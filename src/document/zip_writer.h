#pragma once

#include <deque>
#include <filesystem>
#include <stdexcept>
#include <string>

struct zip;

namespace quoinry::document {

class ZipError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A new zip archive written to one file. Nothing is on disk before Close() succeeds; an archive
// that is destroyed without Close() leaves no file behind.
class ZipWriter {
  public:
    explicit ZipWriter(const std::filesystem::path& file);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Adds a deflated entry; entries are stored in the order added.
    void Add(const std::string& name, std::string data);

    void Close();

  private:
    zip* archive_ = nullptr;
    // libzip reads the entry data only in zip_close; a deque keeps every string in place while
    // more are added (a vector would move short strings and their inline buffers).
    std::deque<std::string> data_;
};

}  // namespace quoinry::document
