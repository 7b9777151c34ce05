#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "common/file_stamp.h"
#include "design/position_outcome.h"
#include "project/project.h"

namespace quoinry {

// The project the project window works on: its positions, each with the outcome of its last
// computation (until it changes), its file and whether it changed since it was opened or saved.
// The window's undo steps are made of these operations.
class ProjectModel {
  public:
    const Project& project() const { return project_; }
    const std::optional<std::filesystem::path>& file() const { return file_; }
    bool IsModified() const { return !(project_ == saved_); }
    std::size_t size() const { return project_.positions.size(); }
    const Position& position(std::size_t index) const { return project_.positions.at(index); }
    // A number that stays with the position while others come, go and move; a position put
    // back by an undo gets a new one.
    std::uint64_t id(std::size_t index) const { return ids_.at(index); }
    std::optional<std::size_t> IndexOf(std::uint64_t id) const;
    // The outcome of the position's last computation; nothing when it has none or changed since.
    const std::optional<PositionOutcome>& result(std::size_t index) const {
        return results_.at(index);
    }
    // The project's name, else its file's, else "未命名工程".
    std::string Title() const;

    // A new project (no file) or an opened one: unmodified, without results.
    void Replace(Project project, std::optional<std::filesystem::path> file);
    // Writes the project file; throws ProjectFileError (the old file stays as it was).
    void Save(const std::filesystem::path& file);
    // The project's file was written by someone else since it was opened or saved here.
    bool FileChangedOnDisk() const { return file_ && ChangedSince(*file_, stamp_); }

    // The new header; its site data go into every position, whose results are then stale.
    void SetInfo(const ProjectInfo& info);
    void Insert(std::size_t at, std::vector<Position> positions);
    // Removes `count` positions from `at`; returns them.
    std::vector<Position> Remove(std::size_t at, std::size_t count);
    void Move(std::size_t from, std::size_t to);
    // Puts `position` in place of the one at `at` (whose result goes); returns the old one.
    Position Put(std::size_t at, Position position);
    void SetResult(std::size_t index, PositionOutcome outcome);
    // Puts the whole project back as it was before an undone step; results go.
    void Restore(Project project);

  private:
    Project project_;
    Project saved_;
    std::optional<std::filesystem::path> file_;
    std::optional<FileStamp> stamp_;  // of file_ when it was opened or saved
    std::vector<std::optional<PositionOutcome>> results_;
    std::vector<std::uint64_t> ids_;
    std::uint64_t next_id_ = 1;
};

}  // namespace quoinry
