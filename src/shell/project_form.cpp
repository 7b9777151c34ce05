#include "shell/project_form.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPointer>
#include <QVBoxLayout>
#include <atomic>
#include <functional>

#include "batch/batch_error.h"
#include "batch/position_source.h"
#include "batch/project_chapters.h"
#include "batch/summary.h"
#include "common/program_dir.h"
#include "db/database_profile_library.h"
#include "document/calculation_document.h"
#include "pdf/pdf_writer.h"
#include "project/project_file.h"
#include "shell/folders.h"
#include "shell/form_helpers.h"
#include "shell/progress_run.h"
#include "shell/project_batch.h"
#include "shell/project_commands.h"

namespace quoinry::shell {
namespace {

namespace fs = std::filesystem;

const QString kProjectFilter = QStringLiteral("工程文件 (*.qproj);;所有文件 (*)");
const QString kScheduleFilter =
    QStringLiteral("计划表 (*.csv *.xlsx);;工程文件 (*.qproj);;所有文件 (*)");
const QString kSummaryFilter = QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件 (*.csv)");
const QString kDocumentFilter = QStringLiteral("Word 文档 (*.docx);;PDF 文件 (*.pdf)");
// Errors listed in a message before the rest are only counted.
constexpr std::size_t kListedProblems = 15;

// Where 全部计算 writes the positions' reports.
fs::path ProjectReportFolder() {
    return SessionDirectory() / "工程";
}

}  // namespace

ProjectForm::ProjectForm(FormHost& host, QWidget* parent) : ChildForm(parent), host_(host) {
    setObjectName(QStringLiteral("projectForm"));
    setWindowTitle(QStringLiteral("工程"));
    BuildControls();
    connect(&undo_, &QUndoStack::cleanChanged, this, [this] { ShowTitle(); });
    model_.Replace(Project{}, std::nullopt);
}

ProjectForm::~ProjectForm() {
    if (editing_)
        host_.Model().DetachFromPosition();
}

QPushButton* ProjectForm::AddButton(QLayout* row, const char* name, const QString& caption,
                                    std::function<void()> action) {
    QPushButton* button = NewButton(this, name, caption);
    row->addWidget(button);
    if (action)
        connect(button, &QPushButton::clicked, this, std::move(action));
    buttons_[name] = button;
    return button;
}

void ProjectForm::BuildControls() {
    auto* file_row = new QHBoxLayout;
    AddButton(file_row, "ProjectNew", QStringLiteral("新建工程"), [this] { NewProject(); });
    AddButton(file_row, "ProjectOpen", QStringLiteral("打开…"), [this] {
        if (!MaySetProjectAside())
            return;
        const QString file =
            host_.Services().FileToOpen(this, QStringLiteral("打开工程"), kProjectFilter);
        if (!file.isEmpty())
            OpenProjectFile(fs::path(S(file)));
    });
    AddButton(file_row, "ProjectSave", QStringLiteral("保存"), {});
    AddButton(file_row, "ProjectSaveAs", QStringLiteral("另存为…"), {});
    AddButton(file_row, "ProjectInfo", QStringLiteral("工程信息…"), [this] { EditInfo(); });
    file_row->addStretch();
    AddButton(file_row, "ProjectUndo", QStringLiteral("撤销"), {});
    AddButton(file_row, "ProjectRedo", QStringLiteral("重做"), {});

    auto* list_row = new QHBoxLayout;
    AddButton(list_row, "PositionAdd", QStringLiteral("添加当前设计"), [this] { AddOpenDesign(); });
    AddButton(list_row, "PositionDuplicate", QStringLiteral("复制"),
              [this] { DuplicatePosition(); });
    AddButton(list_row, "PositionDelete", QStringLiteral("删除"), [this] { DeletePosition(); });
    AddButton(list_row, "PositionUp", QStringLiteral("上移"), [this] { MoveUp(); });
    AddButton(list_row, "PositionDown", QStringLiteral("下移"), [this] { MoveDown(); });
    AddButton(list_row, "ScheduleImport", QStringLiteral("导入计划表…"), {});
    list_row->addStretch();
    // A row of its own, so that the window fits a 1024 × 768 screen.
    auto* output_row = new QHBoxLayout;
    output_row->addStretch();
    AddButton(output_row, "PositionEdit", QStringLiteral("编辑"), [this] { EditPosition(); });
    AddButton(output_row, "ComputeAll", QStringLiteral("全部计算"), {});
    AddButton(output_row, "SummaryExport", QStringLiteral("导出汇总…"), {});
    AddButton(output_row, "ProjectDocument", QStringLiteral("工程计算书…"), [this] {
        const fs::path folder = ProposedFolder(FileKind::Document, model_.file());
        const QString file =
            host_.Services().FileToSave(this, QStringLiteral("工程计算书"), kDocumentFilter,
                                        Q((folder / (model_.Title() + "-计算书.docx")).string()));
        if (file.isEmpty())
            return;
        RememberFolder(FileKind::Document, fs::path(S(file)));
        WriteProjectDocument(fs::path(S(file)));
    });

    connect(buttons_["ProjectSave"], &QPushButton::clicked, this, [this] { SaveProject(); });
    connect(buttons_["ProjectSaveAs"], &QPushButton::clicked, this, [this] { SaveProjectAs(); });
    connect(buttons_["ProjectUndo"], &QPushButton::clicked, &undo_, &QUndoStack::undo);
    connect(buttons_["ProjectRedo"], &QPushButton::clicked, &undo_, &QUndoStack::redo);
    connect(&undo_, &QUndoStack::canUndoChanged, buttons_["ProjectUndo"], &QWidget::setEnabled);
    connect(&undo_, &QUndoStack::canRedoChanged, buttons_["ProjectRedo"], &QWidget::setEnabled);
    buttons_["ProjectUndo"]->setEnabled(false);
    buttons_["ProjectRedo"]->setEnabled(false);
    connect(buttons_["ScheduleImport"], &QPushButton::clicked, this, [this] {
        const QString file =
            host_.Services().FileToOpen(this, QStringLiteral("导入计划表"), kScheduleFilter);
        if (!file.isEmpty())
            ImportSchedule(fs::path(S(file)));
    });
    connect(buttons_["ComputeAll"], &QPushButton::clicked, this, [this] { ComputeAll(); });
    connect(buttons_["SummaryExport"], &QPushButton::clicked, this, [this] {
        const fs::path folder = ProposedFolder(FileKind::Summary, model_.file());
        const QString file =
            host_.Services().FileToSave(this, QStringLiteral("导出汇总"), kSummaryFilter,
                                        Q((folder / (model_.Title() + "-汇总.xlsx")).string()));
        if (file.isEmpty())
            return;
        RememberFolder(FileKind::Summary, fs::path(S(file)));
        ExportSummary(fs::path(S(file)));
    });

    header_ = NewLabel(this, "ProjectHeader", QString());
    header_->setWordWrap(true);  // a narrow window wraps the site line rather than cutting it
    table_ = std::make_unique<PositionTable>(this);
    connect(table_->widget(), &QTableWidget::cellDoubleClicked, this, [this] { EditPosition(); });
    status_ = NewLabel(this, "ProjectStatus", QString());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(file_row);
    layout->addWidget(header_);
    layout->addLayout(list_row);
    layout->addLayout(output_row);
    layout->addWidget(table_->widget(), 1);
    layout->addWidget(status_);
    resize(1060, 560);
}

void ProjectForm::Load() {
    // Within the main window's client area: on a small screen the table scrolls instead.
    if (QWidget* frame = parentWidget(); frame != nullptr && frame->parentWidget() != nullptr)
        frame->resize(QSize(1080, 600).boundedTo(frame->parentWidget()->size()));
    host_.CenterInMainWindow(this);
    ShowList();
}

void ProjectForm::Push(QUndoCommand* command) {
    undo_.push(command);
}

void ProjectForm::ListChanged() {
    ShowList();
}

void ProjectForm::ShowTitle() {
    const QString title = QStringLiteral("工程 - ") + Q(model_.Title()) +
                          (model_.IsModified() ? QStringLiteral("*") : QString());
    setWindowTitle(title);
    if (parentWidget() != nullptr)
        parentWidget()->setWindowTitle(title);
}

void ProjectForm::ShowList() {
    const ProjectInfo& info = model_.project().info;
    header_->setText(QStringLiteral("工程:%1    地区:%2 %3    基本风压:%4 Pa    地面类型:%5    "
                                    "规范:GB50009-%6    设计:%7  校核:%8  审核:%9")
                         .arg(Q(info.name), Q(info.region), Q(info.city), Q(info.w0),
                              Q(info.terrain), Q(info.edition), Q(info.designer), Q(info.checker),
                              Q(info.approver)));
    table_->Show(model_);
    status_->setText(PositionTable::StatusText(model_));
    ShowTitle();
}

std::optional<std::size_t> ProjectForm::CurrentRow() const {
    const int row = table_->widget()->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= model_.size())
        return std::nullopt;
    return static_cast<std::size_t>(row);
}

void ProjectForm::SelectRow(std::size_t row) {
    if (row < model_.size())
        table_->widget()->selectRow(static_cast<int>(row));
}

bool ProjectForm::MaySetProjectAside() {
    return MaySetAside(host_.Services(), this, model_.IsModified(), QStringLiteral("工程"),
                       Q(model_.Title()), [this] { return SaveProject(); });
}

void ProjectForm::NewProject() {
    if (!MaySetProjectAside())
        return;
    Project project;
    // A new building starts where the open design stands.
    const Design& open = host_.Model().design();
    project.info.region = open.region;
    project.info.city = open.wind.city;
    project.info.w0 = open.wind.basic_wind_pressure;
    project.info.terrain = open.wind.terrain_category;
    project.info.name = open.info.project;
    project.info.designer = open.info.engineer;
    model_.Replace(project, std::nullopt);
    undo_.clear();
    ShowList();
}

bool ProjectForm::OpenProjectFile(const fs::path& file) {
    ProjectFileReading reading;
    try {
        reading = ReadProjectFile(file);
    } catch (const ProjectFileError& error) {
        ShowExclamation(host_, this, Q(error.what()));
        return false;
    }
    model_.Replace(std::move(reading.project), file);
    undo_.clear();
    ShowList();
    if (!reading.warnings.empty())
        ShowExclamation(host_, this, ListedTexts(reading.warnings));
    return true;
}

bool ProjectForm::SaveProject() {
    if (!model_.file())
        return SaveProjectAs();
    if (!MayOverwrite(host_, this, *model_.file(), model_.FileChangedOnDisk()))
        return false;
    return SaveTo(*model_.file());
}

bool ProjectForm::SaveProjectAs() {
    const fs::path proposal = model_.file() ? *model_.file()
                                            : ProposedFolder(FileKind::Project, std::nullopt) /
                                                  (model_.Title() + ".qproj");
    const QString chosen = host_.Services().FileToSave(this, QStringLiteral("保存工程"),
                                                       kProjectFilter, Q(proposal.string()));
    if (chosen.isEmpty())
        return false;
    fs::path file(S(chosen));
    if (!file.has_extension())
        file += ".qproj";
    RememberFolder(FileKind::Project, file);
    return SaveTo(file);
}

bool ProjectForm::SaveTo(const fs::path& file) {
    try {
        model_.Save(file);
    } catch (const ProjectFileError& error) {
        ShowExclamation(host_, this, Q(error.what()));
        return false;
    }
    ShowTitle();
    return true;
}

void ProjectForm::EditInfo() {
    const std::optional<ProjectInfo> info =
        host_.Services().EditProjectInfo(this, model_.project().info);
    if (!info || *info == model_.project().info)
        return;
    if (const std::vector<std::string> problems = SiteProblems(*info); !problems.empty()) {
        ShowExclamation(host_, this, QStringLiteral("工程信息没有修改:\n") + ListedTexts(problems));
        return;
    }
    Push(new ChangeProjectInfo(model_, *info, [this] { ListChanged(); }));
}

void ProjectForm::AddOpenDesign() {
    Position position{host_.Model().design(), model_.project().info.edition, {}};
    if (position.design.info.name.empty())
        position.design.info.name = "位置" + std::to_string(model_.size() + 1);
    position.design.info.project = model_.project().info.name;
    const std::size_t at = CurrentRow() ? *CurrentRow() + 1 : model_.size();
    Push(new InsertPositions(model_, at, {position}, QStringLiteral("添加位置"),
                             [this] { ListChanged(); }));
    SelectRow(at);
}

void ProjectForm::DuplicatePosition() {
    const std::optional<std::size_t> row = CurrentRow();
    if (!row)
        return;
    Position copy = model_.position(*row);
    copy.design.info.name += "(复制)";
    Push(new InsertPositions(model_, *row + 1, {copy}, QStringLiteral("复制位置"),
                             [this] { ListChanged(); }));
    SelectRow(*row + 1);
}

void ProjectForm::DeletePosition() {
    const std::optional<std::size_t> row = CurrentRow();
    if (!row)
        return;
    Push(new RemovePositions(model_, *row, 1, [this] { ListChanged(); }));
    SelectRow(std::min(*row, model_.size() - 1));
}

void ProjectForm::MoveUp() {
    const std::optional<std::size_t> row = CurrentRow();
    if (!row || *row == 0)
        return;
    Push(new MovePosition(model_, *row, *row - 1, [this] { ListChanged(); }));
    SelectRow(*row - 1);
}

void ProjectForm::MoveDown() {
    const std::optional<std::size_t> row = CurrentRow();
    if (!row || *row + 1 >= model_.size())
        return;
    Push(new MovePosition(model_, *row, *row + 1, [this] { ListChanged(); }));
    SelectRow(*row + 1);
}

void ProjectForm::ImportSchedule(const fs::path& file) {
    // Columns the schedule leaves out take the open design's values at the project's site.
    Design base = host_.Model().design();
    ApplySite(base, model_.project().info);
    base.info.project = model_.project().info.name;
    db::DatabaseProfileLibrary library;
    std::vector<Position> positions;
    std::vector<std::string> problems;
    std::size_t kept = 0;  // rows kept with their error
    try {
        std::unique_ptr<PositionSource> source =
            OpenPositionSource(file, base, "当前设计", &library);
        problems = source->Warnings();
        while (std::optional<SourceItem> item = source->Next()) {
            if (!item->position) {
                // Kept with its error, so that the position is not lost from the building.
                problems.push_back(item->error);
                Position with_error{base, model_.project().info.edition,
                                    "计划表 " + file.filename().string() + " " + item->error};
                with_error.design.info.name = item->name.empty() ? item->place : item->name;
                item->position = std::move(with_error);
                ++kept;
            }
            if (item->position->edition.empty())
                item->position->edition = model_.project().info.edition;
            if (item->position->design.info.name.empty())
                item->position->design.info.name = item->place;
            positions.push_back(std::move(*item->position));
        }
    } catch (const std::runtime_error& error) {  // ScheduleError, ProjectFileError
        problems.push_back(error.what());
    }
    const std::size_t count = positions.size();
    if (count > 0) {
        Push(new InsertPositions(model_, model_.size(), std::move(positions),
                                 QStringLiteral("导入计划表"), [this] { ListChanged(); }));
    }
    QString text =
        QStringLiteral("从 %1 导入了 %2 个计算位置。").arg(Q(file.filename().string())).arg(count);
    if (kept > 0)
        text += QStringLiteral("其中 %1 个有错,已作为出错的位置加入,请编辑改正。").arg(kept);
    if (!problems.empty())
        text += QStringLiteral("\n") + ListedTexts(problems, kListedProblems);
    if (problems.empty())
        ShowInformation(host_, this, text);
    else
        ShowExclamation(host_, this, text);
}

void ProjectForm::EditPosition() {
    const std::optional<std::size_t> row = CurrentRow();
    if (!row) {
        ShowInformation(host_, this, QStringLiteral("请先在表中选择一个计算位置"));
        return;
    }
    const std::uint64_t id = model_.id(*row);
    QPointer<ProjectForm> self(this);
    // The windows compute after the edition the project computes the position after.
    Design design = model_.position(*row).design;
    design.wind.edition = std::string(EditionOf(model_.position(*row), model_.project().info));
    const bool opened = host_.EditPosition(design, [self, id](const Design& edited) {
        if (self)
            self->WriteBack(id, edited);
    });
    if (opened)
        editing_ = id;
}

void ProjectForm::WriteBack(std::uint64_t id, const Design& design) {
    const std::optional<std::size_t> index = model_.IndexOf(id);
    if (!index) {
        // The position was deleted meanwhile: the edited design is not lost.
        Position position{design, model_.project().info.edition, {}};
        Push(new InsertPositions(model_, model_.size(), {position}, QStringLiteral("添加位置"),
                                 [this] { ListChanged(); }));
        ShowInformation(host_, this,
                        QStringLiteral("原来的位置已删除,编辑后的设计已作为新位置加在工程末尾"));
        return;
    }
    Position position = model_.position(*index);
    if (!(position.design == design) || !position.error.empty()) {
        position.design = design;
        position.error.clear();  // the engineer has seen to it
        Push(new PutPosition(model_, id, std::move(position), [this] { ListChanged(); }));
    }
    KeepWindowsResult(id, design);
}

void ProjectForm::KeepWindowsResult(std::uint64_t id, const Design& design) {
    const DesignModel& model = host_.Model();
    const std::optional<std::size_t> index = model_.IndexOf(id);
    if (!index || !(model.design() == design) || !model.WindGlassCurrent())
        return;
    if (design.member && !model.MemberCurrent())
        return;
    // The windows computed after the design's edition; the batch would after the position's.
    if (EditionOf(model_.position(*index), model_.project().info) != design.wind.edition)
        return;
    DesignRunResult run;
    run.wind = model.wind_glass()->wind;
    run.glass = model.wind_glass()->glass;
    if (design.member) {
        run.member_ran = true;
        run.member = model.member_run()->result;
    }
    const PositionLabel label{design.info.name, "", "第" + std::to_string(*index + 1) + "个位置"};
    model_.SetResult(*index, OutcomeOfRun(label, design, run, {}));
    ShowList();
}

bool ProjectForm::ComputeAll(ProjectChapters* chapters) {
    if (model_.size() == 0) {
        ShowInformation(host_, this, QStringLiteral("工程中还没有计算位置"));
        return false;
    }
    ProjectBatchRun run = RunProjectBatch(this, model_.project(), ProjectReportFolder(), chapters);
    for (std::size_t i = 0; i < run.outcomes.size() && i < model_.size(); ++i)
        model_.SetResult(i, std::move(run.outcomes[i]));
    ShowList();
    if (!run.failure.empty()) {
        ShowExclamation(host_, this, Q(run.failure));
        return false;
    }
    return !run.stopped;
}

void ProjectForm::ExportSummary(const fs::path& file) {
    for (std::size_t i = 0; i < model_.size(); ++i) {
        if (!model_.result(i)) {
            ShowExclamation(host_, this,
                            QStringLiteral("第 %1 个位置“%2”没有当前的计算结果,请先按“全部计算”")
                                .arg(i + 1)
                                .arg(Q(model_.position(i).design.info.name)));
            return;
        }
    }
    try {
        const bool csv = file.extension() == ".csv";
        // The reports of 全部计算 live only as long as the program: no folder column.
        std::unique_ptr<SummarySink> sink =
            csv ? NewSummaryCsv(file, SummaryLayout{.for_engineer = true, .folders = false})
                : NewSummaryXlsx(file, model_.project().info, false);
        for (std::size_t i = 0; i < model_.size(); ++i) sink->Add(*model_.result(i));
        sink->Commit();
    } catch (const BatchError& error) {
        ShowExclamation(host_, this, Q(error.what()));
        return;
    }
    ShowInformation(host_, this, Q("汇总已保存为 " + file.string()));
}

void ProjectForm::WriteProjectDocument(const fs::path& file) {
    ProjectChapters chapters;
    if (!ComputeAll(&chapters))
        return;
    const ProjectDocumentParts project(model_.project().info, chapters, ProjectReportFolder(),
                                       TodayText());
    // Written on a thread of its own: the window stays painted and 取消 is obeyed between parts.
    CountedParts counted(project);
    std::atomic<bool> stop{false};
    const std::string failure = RunWithProgress(
        this, "DocumentProgress", QStringLiteral("工程计算书"),
        QStringLiteral("正在写工程计算书(%1 个位置)…").arg(model_.size()),
        static_cast<int>(2 * counted.PartCount()),
        [&](const std::atomic<bool>& stopped, const Progressed& progressed) {
            counted.ReportTo(progressed);
            if (file.extension() == ".pdf")
                pdf::WritePdf(counted, file, pdf::kDocumentFontFile, &stopped);
            else
                document::WriteDocxDocument(counted, file, &stopped);
        },
        stop);
    if (stop.load()) {
        ShowInformation(host_, this,
                        QStringLiteral("工程计算书已取消,没有写出;原有的文件保持不变"));
        return;
    }
    if (!failure.empty()) {
        ShowErrorBox(host_, this, failure);
        return;
    }
    const document::Warnings& warnings = project.warnings();
    // One note for a missing picture is enough, however many positions lack it.
    if (!warnings.empty()) {
        std::string note = warnings.front();
        if (warnings.size() > 1)
            note += "(另有 " + std::to_string(warnings.size() - 1) + " 个位置同样)";
        ShowExclamation(host_, this, Q(note));
    }
    ShowInformation(host_, this, Q("工程计算书已保存为 " + file.string()));
}

void ProjectForm::closeEvent(QCloseEvent* event) {
    if (!MaySetProjectAside()) {
        event->ignore();
        return;
    }
    // 保存 in the calculation windows can no longer go to this project.
    if (editing_) {
        host_.Model().DetachFromPosition();
        editing_.reset();
    }
    event->accept();
}

}  // namespace quoinry::shell
