#include <cstdio>
#include <string_view>

#include "common/cp936.h"
#include "common/text_encoding.h"
#include "platform/regular_file.h"
#include "project/table_reader.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunk = 1 << 16;
// A record longer than this is no row of a schedule: most likely a quote that was never closed.
constexpr std::size_t kMaxRecordBytes = 1u << 20;

class File {
  public:
    explicit File(const fs::path& path) : file_(std::fopen(path.c_str(), "rb")) {}
    ~File() {
        if (file_ != nullptr)
            std::fclose(file_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    std::FILE* get() const { return file_; }

  private:
    std::FILE* file_;
};

// UTF-8 when the file starts with a byte order mark or is valid UTF-8 throughout; GBK otherwise.
// Reads the whole file once in chunks; a character cut by a chunk's end waits for the next.
bool IsUtf8File(std::FILE* file, bool& bom) {
    std::string carry;
    std::string chunk(kChunk, '\0');
    bool first = true;
    bom = false;
    while (true) {
        const std::size_t got = std::fread(chunk.data(), 1, kChunk, file);
        if (got == 0)
            break;
        std::string bytes = carry + chunk.substr(0, got);
        if (first) {
            first = false;
            if (bytes.starts_with("\xEF\xBB\xBF")) {
                bom = true;
                return true;
            }
        }
        // Up to three bytes at the end may start a character the next chunk ends.
        std::size_t keep = 0;
        for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
            const auto c = static_cast<unsigned char>(bytes[bytes.size() - back]);
            if ((c & 0xC0) == 0xC0) {
                keep = back;
                break;
            }
            if ((c & 0xC0) != 0x80)
                break;
        }
        carry = bytes.substr(bytes.size() - keep);
        if (!IsValidUtf8(std::string_view(bytes).substr(0, bytes.size() - keep)))
            return false;
    }
    return IsValidUtf8(carry);
}

class CsvTable : public TableReader {
  public:
    CsvTable(const fs::path& path) : path_(path), file_(path) {
        if (file_.get() == nullptr)
            throw ScheduleError("无法读取计划表 " + path.string());
        bool bom = false;
        utf8_ = IsUtf8File(file_.get(), bom);
        if (std::ferror(file_.get()) != 0)
            throw ScheduleError("无法读取计划表 " + path.string());
        std::rewind(file_.get());
        if (bom)
            std::fseek(file_.get(), 3, SEEK_SET);
    }

    std::optional<TableRow> Next() override {
        TableRow row;
        std::string cell;
        std::vector<std::string> raw;
        bool quoted = false;
        bool any = false;
        std::size_t record_bytes = 0;
        while (true) {
            const int c = Get();
            if (c == EOF) {
                if (std::ferror(file_.get()) != 0)
                    throw ScheduleError("无法读取计划表 " + path_.string());
                if (quoted) {
                    throw ScheduleError("计划表 " + path_.string() + " 第" +
                                        std::to_string(record_ + 1) +
                                        "行起的引号没有成对,从这一行起无法读取");
                }
                if (!any)
                    return std::nullopt;
                break;
            }
            any = true;
            if (++record_bytes > kMaxRecordBytes) {
                throw ScheduleError("计划表 " + path_.string() + " 第" +
                                    std::to_string(record_ + 1) +
                                    "行太长(超过1MB),可能是引号没有成对;从这一行起无法读取");
            }
            const char ch = static_cast<char>(c);
            if (quoted) {
                if (ch != '"') {
                    cell += ch;
                } else if (Peek() == '"') {
                    Get();
                    cell += '"';
                } else {
                    quoted = false;
                }
                continue;
            }
            if (ch == '"' && cell.empty()) {
                quoted = true;
            } else if (ch == ',') {
                EndCell(raw, cell);
            } else if (ch == '\r' || ch == '\n') {
                if (ch == '\r' && Peek() == '\n')
                    Get();
                break;
            } else {
                cell += ch;
            }
        }
        EndCell(raw, cell);
        row.number = ++record_;
        row.cells = Decode(raw);
        return row;
    }

  private:
    int Get() {
        if (at_ >= buffer_.size() && !Fill())
            return EOF;
        return static_cast<unsigned char>(buffer_[at_++]);
    }
    int Peek() {
        if (at_ >= buffer_.size() && !Fill())
            return EOF;
        return static_cast<unsigned char>(buffer_[at_]);
    }
    bool Fill() {
        buffer_.resize(kChunk);
        const std::size_t got = std::fread(buffer_.data(), 1, kChunk, file_.get());
        buffer_.resize(got);
        at_ = 0;
        return got > 0;
    }

    void EndCell(std::vector<std::string>& raw, std::string& cell) {
        if (raw.size() >= kMaxTableColumns) {
            throw ScheduleError("计划表 " + path_.string() + " 第" + std::to_string(record_ + 1) +
                                "行的值多于" + std::to_string(kMaxTableColumns) + "个");
        }
        raw.push_back(std::move(cell));
        cell.clear();
    }

    // GBK is converted a row at a time: NUL cannot be part of a GBK character, so it separates
    // the cells through one conversion.
    std::vector<std::string> Decode(std::vector<std::string>& raw) const {
        if (utf8_)
            return std::move(raw);
        std::string joined;
        for (std::string& cell : raw) {
            std::erase(cell, '\0');
            joined += cell;
            joined += '\0';
        }
        const std::string text = Cp936ToUtf8(joined);
        std::vector<std::string> cells;
        cells.reserve(raw.size());
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\0', start);
            cells.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return cells;
    }

    fs::path path_;
    File file_;
    bool utf8_ = true;
    std::string buffer_;
    std::size_t at_ = 0;
    int record_ = 0;
};

}  // namespace

void RequireReadableSchedule(const fs::path& file) {
    const platform::FileRead probe = platform::ProbeRegularFile(file);
    if (probe.status == platform::FileReadStatus::kMissing)
        throw ScheduleError("找不到计划表 " + file.string());
    if (probe.status == platform::FileReadStatus::kNotRegular)
        throw ScheduleError("计划表 " + file.string() + " 不是普通文件");
    if (probe.status == platform::FileReadStatus::kUnreadable)
        throw ScheduleError("无法读取计划表 " + file.string() + ": " + probe.error);
}

std::unique_ptr<TableReader> OpenCsvTable(const fs::path& file) {
    RequireReadableSchedule(file);
    return std::make_unique<CsvTable>(file);
}

std::string ColumnLetters(std::size_t column) {
    std::string letters;
    ++column;
    while (column > 0) {
        --column;
        letters.insert(letters.begin(), static_cast<char>('A' + column % 26));
        column /= 26;
    }
    return letters;
}

}  // namespace quoinry
