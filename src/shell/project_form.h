#pragma once

#include <QLabel>
#include <QPushButton>
#include <QUndoStack>
#include <functional>
#include <map>
#include <memory>

#include "project/project_model.h"
#include "shell/child_form.h"
#include "shell/form_host.h"
#include "shell/position_table.h"

class QCloseEvent;

namespace quoinry {
class ProjectChapters;
}

namespace quoinry::shell {

// "工程": a building's positions in one table. New, open, save and save as a project; add the
// open design, duplicate, delete, move, import a schedule, edit a position in the calculation
// windows (保存 there writes it back); compute them all with a progress dialog that can be
// cancelled, failing positions red; export the summary. The list's steps can be undone.
class ProjectForm : public ChildForm {
  public:
    explicit ProjectForm(FormHost& host, QWidget* parent = nullptr);
    ~ProjectForm() override;

    void Load() override;
    const ProjectModel& model() const { return model_; }
    QUndoStack& undo_stack() { return undo_; }

    // The commands, also for the tests.
    void NewProject();
    bool OpenProjectFile(const std::filesystem::path& file);
    bool SaveProject();
    bool SaveProjectAs();
    void EditInfo();
    void AddOpenDesign();
    void DuplicatePosition();
    void DeletePosition();
    void MoveUp();
    void MoveDown();
    void ImportSchedule(const std::filesystem::path& file);
    void EditPosition();
    // Computes every position, collecting the project document's chapters into `chapters` when
    // given; false when cancelled.
    bool ComputeAll(ProjectChapters* chapters = nullptr);
    void ExportSummary(const std::filesystem::path& file);
    // 工程计算书: computes the project afresh (so the document is of the project as it stands)
    // and writes its calculation document, a .pdf or else a .docx.
    void WriteProjectDocument(const std::filesystem::path& file);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Saves under `file`, or says why not; true when saved.
    bool SaveTo(const std::filesystem::path& file);
    void BuildControls();
    QPushButton* AddButton(QLayout* row, const char* name, const QString& caption,
                           std::function<void()> action);
    void ShowList();
    void ListChanged();
    // The row the user picked, or nothing.
    std::optional<std::size_t> CurrentRow() const;
    void SelectRow(std::size_t row);
    // Asks what to do with unsaved changes; false when the user keeps the project.
    bool MaySetProjectAside();
    void Push(QUndoCommand* command);
    // 保存 in the calculation windows: the edited design goes back into its position.
    void WriteBack(std::uint64_t id, const Design& design);
    // The calculation windows' results, when they are of the design just written back, become
    // the position's result: computing it again would give the same.
    void KeepWindowsResult(std::uint64_t id, const Design& design);
    void ShowTitle();

    FormHost& host_;
    ProjectModel model_;
    QUndoStack undo_;
    QLabel* header_;
    std::unique_ptr<PositionTable> table_;
    QLabel* status_;
    std::map<std::string, QPushButton*> buttons_;
    // The position open in the calculation windows, by its number in the document.
    std::optional<std::uint64_t> editing_;
};

}  // namespace quoinry::shell
