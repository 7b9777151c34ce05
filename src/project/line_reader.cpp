#include "project/line_reader.h"

namespace quoinry {
namespace {

constexpr std::size_t kChunk = 1 << 16;

}  // namespace

LineReader::LineReader(std::FILE* file, std::size_t max_line) : file_(file), max_line_(max_line) {}

bool LineReader::Fill() {
    if (end_)
        return false;
    buffer_.erase(0, at_);
    at_ = 0;
    const std::size_t old = buffer_.size();
    buffer_.resize(old + kChunk);
    const std::size_t got = std::fread(buffer_.data() + old, 1, kChunk, file_);
    buffer_.resize(old + got);
    if (got == 0) {
        end_ = true;
        failed_ = std::ferror(file_) != 0;
        return false;
    }
    if (first_) {
        first_ = false;
        if (buffer_.starts_with("\xEF\xBB\xBF"))
            buffer_.erase(0, 3);
    }
    return true;
}

std::optional<LineReader::Line> LineReader::Next() {
    Line line;
    while (true) {
        if (at_ >= buffer_.size() && !Fill()) {
            if (line.text.empty() && !line.cut && line.number == 0)
                return std::nullopt;
            break;
        }
        if (after_cr_) {
            after_cr_ = false;
            if (buffer_[at_] == '\n')
                ++at_;
            continue;
        }
        if (line.number == 0)
            line.number = ++number_;
        const std::size_t end = buffer_.find_first_of("\r\n", at_);
        const std::size_t stop = end == std::string::npos ? buffer_.size() : end;
        const std::size_t room = max_line_ - std::min(max_line_, line.text.size());
        const std::size_t take = std::min(stop - at_, room);
        line.text.append(buffer_, at_, take);
        line.cut = line.cut || take < stop - at_;
        at_ = stop;
        if (end != std::string::npos) {
            after_cr_ = buffer_[at_] == '\r';
            ++at_;
            break;
        }
    }
    return line;
}

}  // namespace quoinry
