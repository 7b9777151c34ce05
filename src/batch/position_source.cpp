#include "batch/position_source.h"

#include "common/text.h"
#include "design/input_fields.h"
#include "edition/code_edition.h"
#include "project/project_file.h"
#include "project/schedule.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> SiteWarnings(const SourceItem& item, const Design& design,
                                      const ProjectInfo& info) {
    std::vector<std::string> warnings;
    for (const std::string& difference : SiteDifferences(design, info))
        warnings.push_back("警告: " + item.place + "(" + item.name + ")的" + difference);
    return warnings;
}

class ProjectSource : public PositionSource {
  public:
    explicit ProjectSource(const fs::path& file) : reader_(file) {}

    std::optional<SourceItem> Next() override {
        std::optional<PositionEntry> entry = reader_.Next();
        if (!entry)
            return std::nullopt;
        SourceItem item;
        item.place = "第" + std::to_string(entry->number) + "个位置";
        item.error = std::move(entry->error);
        item.warnings = std::move(entry->warnings);
        if (entry->position) {
            item.name = entry->position->design.info.name;
            for (std::string& warning : SiteWarnings(item, entry->position->design, reader_.info()))
                item.warnings.push_back(std::move(warning));
            if (entry->position->edition.empty())
                entry->position->edition = reader_.info().edition;
            if (entry->position->error.empty())
                item.position = std::move(entry->position);
            else
                item.error = item.place + " " + entry->position->error;
        }
        return item;
    }

    const ProjectInfo& Info() const override { return reader_.info(); }
    const std::vector<std::string>& Warnings() const override { return reader_.warnings(); }

  private:
    ProjectFileReader reader_;
};

class MemorySource : public PositionSource {
  public:
    explicit MemorySource(Project project) : project_(std::move(project)) {}

    std::optional<SourceItem> Next() override {
        if (next_ >= project_.positions.size())
            return std::nullopt;
        Position& position = project_.positions[next_++];
        SourceItem item;
        item.place = "第" + std::to_string(next_) + "个位置";
        item.name = position.design.info.name;
        item.warnings = SiteWarnings(item, position.design, project_.info);
        if (position.edition.empty())
            position.edition = project_.info.edition;
        if (position.error.empty())
            item.position = std::move(position);
        else
            item.error = item.place + " " + position.error;
        return item;
    }
    const ProjectInfo& Info() const override { return project_.info; }
    const std::vector<std::string>& Warnings() const override { return warnings_; }

  private:
    Project project_;
    std::size_t next_ = 0;
    std::vector<std::string> warnings_;
};

class ScheduleSource : public PositionSource {
  public:
    ScheduleSource(const fs::path& file, ScheduleKind kind, const std::optional<Design>& base,
                   const std::string& base_label, ProfileLibrary* library)
        : table_(kind == ScheduleKind::Csv ? OpenCsvTable(file) : OpenXlsxTable(file)) {
        std::optional<TableRow> header_row = table_->Next();
        while (header_row && IsBlankRow(*header_row)) header_row = table_->Next();
        if (!header_row)
            throw ScheduleError("计划表 " + file.string() +
                                " 是空的:第一行应为列名,其后每行一个计算位置");
        ScheduleHeader header = ReadScheduleHeader(*header_row, file);
        for (const std::string& unknown : header.unknown) {
            warnings_.push_back("警告: 计划表 " + file.string() + " 的" + unknown +
                                "不是本程序认识的列,已忽略");
        }
        Design base_design = base.value_or(Design{});
        // Without a base design the rows are new work.
        if (!base)
            base_design.wind.edition = std::string(CurrentEdition().id);
        info_.name = base_design.info.project;
        info_.designer = base_design.info.engineer;
        info_.region = base_design.region;
        info_.city = base_design.wind.city;
        info_.w0 = base_design.wind.basic_wind_pressure;
        info_.terrain = base_design.wind.terrain_category;
        // Rows without an edition of their own follow the base design's.
        info_.edition = base_design.wind.edition;
        rows_ =
            std::make_unique<ScheduleRows>(std::move(header), base_design, base_design.wind.edition,
                                           base_label, library, kind == ScheduleKind::Csv);
        const std::vector<std::string> missing = rows_->MissingInputs();
        if (!missing.empty()) {
            std::string list;
            for (const std::string& caption : missing) list += (list.empty() ? "" : "、") + caption;
            warnings_.push_back("警告: 计划表 " + file.string() + " 没有这些列" +
                                (base ? std::string(",基础设计中也是空的")
                                      : std::string(",也没有用 --base 给出基础设计")) +
                                ": " + list);
        }
    }

    std::optional<SourceItem> Next() override {
        while (std::optional<TableRow> row = table_->Next()) {
            std::optional<ScheduleRow> built = rows_->Build(*row);
            if (!built)
                continue;
            SourceItem item;
            item.place = "第" + std::to_string(row->number) + "行";
            item.name = std::move(built->name);
            item.position = std::move(built->position);
            item.error = std::move(built->error);
            item.sources = std::move(built->sources);
            return item;
        }
        return std::nullopt;
    }

    const ProjectInfo& Info() const override { return info_; }
    const std::vector<std::string>& Warnings() const override { return warnings_; }

    static bool IsBlankRow(const TableRow& row) {
        for (const std::string& cell : row.cells) {
            if (!TrimBlanks(cell).empty())
                return false;
        }
        return true;
    }

  private:
    std::unique_ptr<TableReader> table_;
    std::unique_ptr<ScheduleRows> rows_;
    ProjectInfo info_;
    std::vector<std::string> warnings_;
};

}  // namespace

ScheduleKind ScheduleKindOf(const fs::path& file) {
    const std::string extension = AsciiLower(file.extension().string());
    if (extension == ".csv")
        return ScheduleKind::Csv;
    if (extension == ".xlsx")
        return ScheduleKind::Xlsx;
    return ScheduleKind::Project;
}

std::unique_ptr<PositionSource> PositionsOf(Project project) {
    return std::make_unique<MemorySource>(std::move(project));
}

std::optional<int> CountPositions(const fs::path& file) {
    try {
        const ScheduleKind kind = ScheduleKindOf(file);
        int count = 0;
        if (kind == ScheduleKind::Project)
            return CountProjectPositions(file);
        auto table = kind == ScheduleKind::Csv ? OpenCsvTable(file) : OpenXlsxTable(file);
        bool header = false;
        while (std::optional<TableRow> row = table->Next()) {
            if (ScheduleSource::IsBlankRow(*row))
                continue;
            count += header ? 1 : 0;
            header = true;
        }
        return count;
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}

std::unique_ptr<PositionSource> OpenPositionSource(const fs::path& file,
                                                   const std::optional<Design>& base,
                                                   const std::string& base_label,
                                                   ProfileLibrary* library) {
    const ScheduleKind kind = ScheduleKindOf(file);
    if (kind == ScheduleKind::Project)
        return std::make_unique<ProjectSource>(file);
    return std::make_unique<ScheduleSource>(file, kind, base, base_label, library);
}

}  // namespace quoinry
