#pragma once

#include <QUndoCommand>
#include <functional>
#include <vector>

#include "project/project_model.h"

namespace quoinry::shell {

// The undoable steps of the project window's position list. Each changes the project model and then
// calls `changed` so the window shows the list again.
using ListChanged = std::function<void()>;

class InsertPositions : public QUndoCommand {
  public:
    InsertPositions(ProjectModel& model, std::size_t at, std::vector<Position> positions,
                    const QString& text, ListChanged changed);
    void redo() override;
    void undo() override;

  private:
    ProjectModel& model_;
    std::size_t at_;
    std::vector<Position> positions_;
    ListChanged changed_;
};

class RemovePositions : public QUndoCommand {
  public:
    RemovePositions(ProjectModel& model, std::size_t at, std::size_t count, ListChanged changed);
    void redo() override;
    void undo() override;

  private:
    ProjectModel& model_;
    std::size_t at_;
    std::size_t count_;
    std::vector<Position> removed_;
    ListChanged changed_;
};

class MovePosition : public QUndoCommand {
  public:
    MovePosition(ProjectModel& model, std::size_t from, std::size_t to, ListChanged changed);
    void redo() override;
    void undo() override;

  private:
    ProjectModel& model_;
    std::size_t from_;
    std::size_t to_;
    ListChanged changed_;
};

// A position edited in the calculation windows and saved back.
class PutPosition : public QUndoCommand {
  public:
    PutPosition(ProjectModel& model, std::uint64_t id, Position position, ListChanged changed);
    void redo() override;
    void undo() override;

  private:
    void Swap();
    ProjectModel& model_;
    std::uint64_t id_;
    Position other_;  // the position the next redo or undo puts in
    ListChanged changed_;
};

// The project's header, whose site data go into every position.
class ChangeProjectInfo : public QUndoCommand {
  public:
    ChangeProjectInfo(ProjectModel& model, const ProjectInfo& info, ListChanged changed);
    void redo() override;
    void undo() override;

  private:
    ProjectModel& model_;
    Project before_;
    ProjectInfo info_;
    ListChanged changed_;
};

}  // namespace quoinry::shell
