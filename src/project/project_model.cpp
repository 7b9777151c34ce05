#include "project/project_model.h"

#include <algorithm>
#include <utility>

#include "project/project_file.h"

namespace quoinry {

std::string ProjectModel::Title() const {
    if (!project_.info.name.empty())
        return project_.info.name;
    if (file_)
        return file_->stem().string();
    return "未命名工程";
}

std::optional<std::size_t> ProjectModel::IndexOf(std::uint64_t id) const {
    const auto found = std::find(ids_.begin(), ids_.end(), id);
    if (found == ids_.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - ids_.begin());
}

void ProjectModel::Replace(Project project, std::optional<std::filesystem::path> file) {
    Restore(std::move(project));
    saved_ = project_;
    file_ = std::move(file);
    stamp_ = file_ ? StampOf(*file_) : std::nullopt;
}

void ProjectModel::Save(const std::filesystem::path& file) {
    SaveProjectFile(file, project_);
    saved_ = project_;
    file_ = file;
    stamp_ = StampOf(file);
}

void ProjectModel::SetInfo(const ProjectInfo& info) {
    project_.info = info;
    for (std::size_t i = 0; i < project_.positions.size(); ++i) {
        Position& position = project_.positions[i];
        const Position before = position;
        ApplySite(position.design, info);
        position.design.info.project = info.name;
        position.edition = info.edition;
        if (!(position == before))
            results_[i].reset();
    }
}

void ProjectModel::Insert(std::size_t at, std::vector<Position> positions) {
    at = std::min(at, project_.positions.size());
    const auto count = static_cast<std::ptrdiff_t>(positions.size());
    project_.positions.insert(project_.positions.begin() + static_cast<std::ptrdiff_t>(at),
                              std::make_move_iterator(positions.begin()),
                              std::make_move_iterator(positions.end()));
    results_.insert(results_.begin() + static_cast<std::ptrdiff_t>(at),
                    static_cast<std::size_t>(count), std::nullopt);
    std::vector<std::uint64_t> ids;
    for (std::ptrdiff_t i = 0; i < count; ++i) ids.push_back(next_id_++);
    ids_.insert(ids_.begin() + static_cast<std::ptrdiff_t>(at), ids.begin(), ids.end());
}

std::vector<Position> ProjectModel::Remove(std::size_t at, std::size_t count) {
    at = std::min(at, project_.positions.size());
    count = std::min(count, project_.positions.size() - at);
    const auto first = project_.positions.begin() + static_cast<std::ptrdiff_t>(at);
    const auto last = first + static_cast<std::ptrdiff_t>(count);
    std::vector<Position> removed(std::make_move_iterator(first), std::make_move_iterator(last));
    project_.positions.erase(first, last);
    results_.erase(results_.begin() + static_cast<std::ptrdiff_t>(at),
                   results_.begin() + static_cast<std::ptrdiff_t>(at + count));
    ids_.erase(ids_.begin() + static_cast<std::ptrdiff_t>(at),
               ids_.begin() + static_cast<std::ptrdiff_t>(at + count));
    return removed;
}

void ProjectModel::Move(std::size_t from, std::size_t to) {
    if (from >= size() || to >= size() || from == to)
        return;
    auto rotate = [&](auto& list) {
        const auto a = list.begin() + static_cast<std::ptrdiff_t>(from);
        const auto b = list.begin() + static_cast<std::ptrdiff_t>(to);
        if (from < to)
            std::rotate(a, a + 1, b + 1);
        else
            std::rotate(b, a, a + 1);
    };
    rotate(project_.positions);
    rotate(results_);
    rotate(ids_);
}

Position ProjectModel::Put(std::size_t at, Position position) {
    Position old = std::exchange(project_.positions.at(at), std::move(position));
    results_.at(at).reset();
    return old;
}

void ProjectModel::Restore(Project project) {
    project_ = std::move(project);
    results_.assign(project_.positions.size(), std::nullopt);
    // The same number of positions: the same positions, changed in their site data.
    if (ids_.size() == project_.positions.size())
        return;
    ids_.clear();
    for (std::size_t i = 0; i < project_.positions.size(); ++i) ids_.push_back(next_id_++);
}

void ProjectModel::SetResult(std::size_t index, PositionOutcome outcome) {
    results_.at(index) = std::move(outcome);
}

}  // namespace quoinry
