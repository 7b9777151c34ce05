#include "shell/project_commands.h"

namespace quoinry::shell {

InsertPositions::InsertPositions(ProjectModel& model, std::size_t at,
                                 std::vector<Position> positions, const QString& text,
                                 ListChanged changed)
    : QUndoCommand(text),
      model_(model),
      at_(at),
      positions_(std::move(positions)),
      changed_(std::move(changed)) {}

void InsertPositions::redo() {
    model_.Insert(at_, positions_);
    changed_();
}

void InsertPositions::undo() {
    model_.Remove(at_, positions_.size());
    changed_();
}

RemovePositions::RemovePositions(ProjectModel& model, std::size_t at, std::size_t count,
                                 ListChanged changed)
    : QUndoCommand(QStringLiteral("删除位置")),
      model_(model),
      at_(at),
      count_(count),
      changed_(std::move(changed)) {}

void RemovePositions::redo() {
    removed_ = model_.Remove(at_, count_);
    changed_();
}

void RemovePositions::undo() {
    model_.Insert(at_, std::move(removed_));
    removed_.clear();
    changed_();
}

MovePosition::MovePosition(ProjectModel& model, std::size_t from, std::size_t to,
                           ListChanged changed)
    : QUndoCommand(from < to ? QStringLiteral("下移位置") : QStringLiteral("上移位置")),
      model_(model),
      from_(from),
      to_(to),
      changed_(std::move(changed)) {}

void MovePosition::redo() {
    model_.Move(from_, to_);
    changed_();
}

void MovePosition::undo() {
    model_.Move(to_, from_);
    changed_();
}

PutPosition::PutPosition(ProjectModel& model, std::uint64_t id, Position position,
                         ListChanged changed)
    : QUndoCommand(QStringLiteral("修改位置")),
      model_(model),
      id_(id),
      other_(std::move(position)),
      changed_(std::move(changed)) {}

void PutPosition::Swap() {
    if (const std::optional<std::size_t> index = model_.IndexOf(id_))
        other_ = model_.Put(*index, std::move(other_));
    changed_();
}

void PutPosition::redo() {
    Swap();
}

void PutPosition::undo() {
    Swap();
}

ChangeProjectInfo::ChangeProjectInfo(ProjectModel& model, const ProjectInfo& info,
                                     ListChanged changed)
    : QUndoCommand(QStringLiteral("修改工程信息")),
      model_(model),
      before_(model.project()),
      info_(info),
      changed_(std::move(changed)) {}

void ChangeProjectInfo::redo() {
    model_.SetInfo(info_);
    changed_();
}

void ChangeProjectInfo::undo() {
    model_.Restore(before_);
    changed_();
}

}  // namespace quoinry::shell
