#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "project/line_reader.h"
#include "project/project.h"

namespace quoinry {

// A project file that cannot be used at all; what() names the file and, where there is one,
// the line.
class ProjectFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The project file format version this program writes and reads; newer ones are refused.
inline constexpr int kProjectFormat = 1;

// One position as the file holds it: its place in the list (from 1), the line of its
// [position] header, and the position or why it cannot be used (naming the file and line).
struct PositionEntry {
    int number = 0;
    int line = 0;
    std::optional<Position> position;
    std::string error;
    std::vector<std::string> warnings;
};

// Reads a project file position by position, so that a project of any size goes through in
// bounded memory:
//
//   ; Quoinry 工程文件 (UTF-8)
//   [project]
//   format=1
//   name=…  region=…  city=…  w0=…  terrain=…  edition=2001
//   designer=…  checker=…  approver=…  date=…
//   [position]
//   [design]  [glass]  [gj]  [profile]   one whole design file, [glass] with edition=
//   [position]
//   …
class ProjectFileReader {
  public:
    // Reads the header; throws ProjectFileError for a file that is missing, no regular file, not
    // a project file, of a newer format or with a broken header.
    explicit ProjectFileReader(const std::filesystem::path& file);
    ~ProjectFileReader();
    ProjectFileReader(const ProjectFileReader&) = delete;
    ProjectFileReader& operator=(const ProjectFileReader&) = delete;

    const ProjectInfo& info() const { return info_; }
    // Lines of the header the program ignored.
    const std::vector<std::string>& warnings() const { return warnings_; }
    // The next position, or nothing after the last. Throws ProjectFileError when the file
    // cannot be read any further.
    std::optional<PositionEntry> Next();

  private:
    void ReadHeader();
    std::string Where(int line) const;

    std::filesystem::path file_;
    std::FILE* stream_ = nullptr;
    std::unique_ptr<LineReader> lines_;
    std::optional<LineReader::Line> pending_;  // a [position] line read ahead
    ProjectInfo info_;
    std::vector<std::string> warnings_;
    int count_ = 0;
};

// The number of [position] lines, without reading the positions; nothing when the file cannot
// be read.
std::optional<int> CountProjectPositions(const std::filesystem::path& file);

// True when the bytes start like a project file: a [project] section before any other.
bool LooksLikeProjectFile(const std::filesystem::path& file);

struct ProjectFileReading {
    Project project;
    std::vector<std::string> warnings;
};

// The whole project, for the windows. A position that cannot be used makes the whole reading
// fail: saving the project again would lose it.
ProjectFileReading ReadProjectFile(const std::filesystem::path& file);

// The project file text: UTF-8, LF line ends; each position's [glass] carries its edition.
std::string ProjectFileText(const Project& project);
// The text of one position as a design file of its own (with its edition), as `quoinry run`
// reads it.
std::string PositionDesignText(const Position& position, const ProjectInfo& info);

// Writes through a temporary file; when that fails the old file stays as it was and
// ProjectFileError says why.
void SaveProjectFile(const std::filesystem::path& file, const Project& project);

}  // namespace quoinry
