#pragma once

#include <cstdint>
#include <deque>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>

struct zip;
struct zip_source;

namespace quoinry::document {

class ZipError : public std::runtime_error {
  public:
    explicit ZipError(const std::string& message, int system_error = 0)
        : std::runtime_error(message), system_error_(system_error) {}
    // The errno behind the failure (a full disk, a size limit), 0 when none is known.
    int system_error() const { return system_error_; }

  private:
    int system_error_;
};

// The bytes of an entry, made while the archive is written.
class ZipStream {
  public:
    virtual ~ZipStream() = default;
    // Up to `size` bytes into `out`; 0 at the end. What it throws ends the writing and is thrown
    // again by ZipWriter::Close().
    virtual std::size_t Read(char* out, std::size_t size) = 0;
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
    // Adds a deflated entry of exactly `size` bytes read from `stream` when Close() writes it
    // (a known size keeps the package free of Zip64 fields, which older word processors refuse).
    // `stream` must live until then.
    void AddStream(const std::string& name, std::uint64_t size, ZipStream& stream);

    void Close();

    // A streamed entry's state, for libzip's callback.
    struct Streamed;

  private:
    void AddSource(const std::string& name, zip_source* source);

    zip* archive_ = nullptr;
    // libzip reads the entry data only in zip_close; a deque keeps every string in place while
    // more are added (a vector would move short strings and their inline buffers).
    std::deque<std::string> data_;
    std::deque<Streamed> streams_;
    std::exception_ptr failure_;
};

}  // namespace quoinry::document
