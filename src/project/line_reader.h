#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace quoinry {

// Reads a text file line by line in bounded memory: lines end at CR LF, LF or CR; a UTF-8 byte
// order mark at the start is dropped. A line longer than `max_line` bytes is cut there and
// flagged, so a file without line ends cannot fill the memory.
class LineReader {
  public:
    struct Line {
        int number = 0;
        std::string text;
        bool cut = false;
    };

    // `file` must be open for reading; the reader does not close it.
    LineReader(std::FILE* file, std::size_t max_line);

    std::optional<Line> Next();
    // A read error of the file (not its end).
    bool Failed() const { return failed_; }

  private:
    bool Fill();

    std::FILE* file_;
    std::size_t max_line_;
    std::string buffer_;
    std::size_t at_ = 0;
    bool end_ = false;
    bool failed_ = false;
    bool first_ = true;
    bool after_cr_ = false;  // a CR ended the last line: an LF right after it belongs to it
    int number_ = 0;
};

}  // namespace quoinry
