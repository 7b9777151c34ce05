#include "shell/project_commands.h"

namespace quoinry::shell {

InsertPositions::InsertPositions(ProjectDocument& document, std::size_t at,
                                 std::vector<Position> positions, const QString& text,
                                 ListChanged changed)
    : QUndoCommand(text),
      document_(document),
      at_(at),
      positions_(std::move(positions)),
      changed_(std::move(changed)) {}

void InsertPositions::redo() {
    document_.Insert(at_, positions_);
    changed_();
}

void InsertPositions::undo() {
    document_.Remove(at_, positions_.size());
    changed_();
}

RemovePositions::RemovePositions(ProjectDocument& document, std::size_t at, std::size_t count,
                                 ListChanged changed)
    : QUndoCommand(QStringLiteral("删除位置")),
      document_(document),
      at_(at),
      count_(count),
      changed_(std::move(changed)) {}

void RemovePositions::redo() {
    removed_ = document_.Remove(at_, count_);
    changed_();
}

void RemovePositions::undo() {
    document_.Insert(at_, std::move(removed_));
    removed_.clear();
    changed_();
}

MovePosition::MovePosition(ProjectDocument& document, std::size_t from, std::size_t to,
                           ListChanged changed)
    : QUndoCommand(from < to ? QStringLiteral("下移位置") : QStringLiteral("上移位置")),
      document_(document),
      from_(from),
      to_(to),
      changed_(std::move(changed)) {}

void MovePosition::redo() {
    document_.Move(from_, to_);
    changed_();
}

void MovePosition::undo() {
    document_.Move(to_, from_);
    changed_();
}

PutPosition::PutPosition(ProjectDocument& document, std::uint64_t id, Position position,
                         ListChanged changed)
    : QUndoCommand(QStringLiteral("修改位置")),
      document_(document),
      id_(id),
      other_(std::move(position)),
      changed_(std::move(changed)) {}

void PutPosition::Swap() {
    if (const std::optional<std::size_t> index = document_.IndexOf(id_))
        other_ = document_.Put(*index, std::move(other_));
    changed_();
}

void PutPosition::redo() {
    Swap();
}

void PutPosition::undo() {
    Swap();
}

ChangeProjectInfo::ChangeProjectInfo(ProjectDocument& document, const ProjectInfo& info,
                                     ListChanged changed)
    : QUndoCommand(QStringLiteral("修改工程信息")),
      document_(document),
      before_(document.project()),
      info_(info),
      changed_(std::move(changed)) {}

void ChangeProjectInfo::redo() {
    document_.SetInfo(info_);
    changed_();
}

void ChangeProjectInfo::undo() {
    document_.Restore(before_);
    changed_();
}

}  // namespace quoinry::shell
