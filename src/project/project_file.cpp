#include "project/project_file.h"

#include "common/atomic_file.h"
#include "common/text.h"
#include "common/text_encoding.h"
#include "edition/code_edition.h"
#include "platform/regular_file.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

// As for a design file: far beyond one position with a large picture.
constexpr std::size_t kMaxPositionBytes = 16u << 20;
constexpr std::size_t kMaxLine = 1u << 20;
constexpr std::string_view kPositionHeader = "[position]";
// Before the position's design: why it cannot be computed.
constexpr std::string_view kErrorKey = "error";

struct HeaderKey {
    std::string_view key;
    std::string ProjectInfo::*value;
};

constexpr HeaderKey kHeaderKeys[] = {
    {"name", &ProjectInfo::name},         {"region", &ProjectInfo::region},
    {"city", &ProjectInfo::city},         {"w0", &ProjectInfo::w0},
    {"terrain", &ProjectInfo::terrain},   {"edition", &ProjectInfo::edition},
    {"designer", &ProjectInfo::designer}, {"checker", &ProjectInfo::checker},
    {"approver", &ProjectInfo::approver}, {"date", &ProjectInfo::date},
};

bool IsComment(std::string_view text) {
    return text.empty() || text.front() == ';' || text.front() == '#';
}

// The lower-cased name of a section header line, or nothing for another line.
std::optional<std::string> SectionName(std::string_view text) {
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const std::size_t close = text.rfind(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return AsciiLower(TrimBlanks(text.substr(1, close - 1)));
}

bool IsPositionHeader(std::string_view text) {
    return AsciiLower(TrimBlanks(text)) == kPositionHeader;
}

// A format version: a positive whole number no greater than `known`; otherwise the complaint.
std::optional<std::string> FormatProblem(const std::string& text, int known) {
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    const std::size_t first = digits ? text.find_first_not_of('0') : 0;
    if (!digits || first == std::string::npos)
        return "格式版本 format 应为正整数,这里是“" + text + "”";
    if (text.size() - first > 9 || std::stoi(text.substr(first)) > known) {
        return "格式版本 format=" + text + " 比本程序认识的版本(" + std::to_string(known) +
               ")新,请用较新版本的 Quoinry 打开";
    }
    return std::nullopt;
}

std::string EditionProblem(const std::string& edition) {
    return "规范版本 edition 应为 " + EditionIdsText() + ",这里是“" + edition + "”";
}

void AppendKey(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += '=';
    out += value.substr(0, value.find_first_of(std::string_view("\0\r\n", 3)));
    out += '\n';
}

// The value of an "error=" line, which may only come first in a position.
std::optional<std::string> ErrorLine(std::string_view line) {
    const std::string_view text = TrimBlanks(line);
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos ||
        AsciiLower(TrimBlanks(text.substr(0, equals))) != kErrorKey)
        return std::nullopt;
    return std::string(TrimBlanks(text.substr(equals + 1)));
}

// Tracks the [glass] edition of a position while its lines go by.
class EditionScan {
  public:
    void See(std::string_view text, int line) {
        if (const auto name = SectionName(text)) {
            in_glass_ = *name == "glass";
            return;
        }
        const std::size_t equals = text.find('=');
        if (!in_glass_ || equals == std::string_view::npos || found_)
            return;
        if (AsciiLower(TrimBlanks(text.substr(0, equals))) == "edition") {
            found_ = true;
            value_ = std::string(TrimBlanks(text.substr(equals + 1)));
            line_ = line;
        }
    }
    bool found() const { return found_; }
    const std::string& value() const { return value_; }
    int line() const { return line_; }

  private:
    bool in_glass_ = false;
    bool found_ = false;
    std::string value_;
    int line_ = 0;
};

}  // namespace

ProjectFileReader::ProjectFileReader(const fs::path& file) : file_(file) {
    const platform::FileRead probe = platform::ProbeRegularFile(file);
    switch (probe.status) {
        case platform::FileReadStatus::kRead:
        case platform::FileReadStatus::kTooLarge:
            break;
        case platform::FileReadStatus::kMissing:
            throw ProjectFileError("找不到工程文件 " + file.string());
        case platform::FileReadStatus::kNotRegular:
            throw ProjectFileError("工程文件 " + file.string() + " 不是普通文件");
        case platform::FileReadStatus::kUnreadable:
            throw ProjectFileError("无法读取工程文件 " + file.string() + ": " + probe.error);
    }
    stream_ = std::fopen(file.c_str(), "rb");
    if (stream_ == nullptr)
        throw ProjectFileError("无法读取工程文件 " + file.string());
    lines_ = std::make_unique<LineReader>(stream_, kMaxLine);
    try {
        ReadHeader();
    } catch (...) {
        std::fclose(stream_);
        throw;
    }
}

ProjectFileReader::~ProjectFileReader() {
    if (stream_ != nullptr)
        std::fclose(stream_);
}

std::string ProjectFileReader::Where(int line) const {
    return "工程文件 " + file_.string() + " 第" + std::to_string(line) + "行: ";
}

void ProjectFileReader::ReadHeader() {
    // A project file without an edition was written when 2001 was the only one.
    info_.edition = std::string(EditionOfUnnamed().id);
    int project_line = 0;
    int format_line = 0;
    std::string format;
    std::string section;
    int edition_line = 0;
    while (std::optional<LineReader::Line> line = lines_->Next()) {
        if (line->cut || !IsValidUtf8(line->text))
            throw ProjectFileError(Where(line->number) + "不是工程文件的文本行(过长或不是 UTF-8)");
        const std::string_view text = TrimBlanks(line->text);
        if (IsComment(text))
            continue;
        if (IsPositionHeader(text)) {
            pending_ = std::move(line);
            break;
        }
        if (const auto name = SectionName(text)) {
            section = *name;
            if (project_line == 0 && section != "project") {
                throw ProjectFileError(Where(line->number) +
                                       "不是工程文件:工程文件以 [project] 节开始");
            }
            if (section == "project" && project_line == 0) {
                project_line = line->number;
            } else {
                warnings_.push_back("警告: " + Where(line->number) + "节[" + section +
                                    "]不属于工程的表头,其中的内容已忽略");
                section = "-";
            }
            continue;
        }
        if (project_line == 0) {
            throw ProjectFileError(Where(line->number) +
                                   "不是工程文件:工程文件以 [project] 节开始");
        }
        if (section != "project")
            continue;
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos) {
            warnings_.push_back("警告: " + Where(line->number) + "“" + std::string(text) +
                                "”不是“键=值”的形式,已忽略");
            continue;
        }
        const std::string key = AsciiLower(TrimBlanks(text.substr(0, equals)));
        const std::string value(TrimBlanks(text.substr(equals + 1)));
        if (key == "format") {
            format = value;
            format_line = line->number;
            continue;
        }
        bool known = false;
        for (const HeaderKey& header : kHeaderKeys) {
            if (header.key == key) {
                info_.*header.value = value;
                known = true;
                if (key == "edition")
                    edition_line = line->number;
            }
        }
        if (!known) {
            warnings_.push_back("警告: " + Where(line->number) + "节[project]中未知的键“" + key +
                                "”,已忽略");
        }
    }
    if (lines_->Failed())
        throw ProjectFileError("无法读取工程文件 " + file_.string());
    if (project_line == 0)
        throw ProjectFileError("工程文件 " + file_.string() + " 中没有 [project] 节,不是工程文件");
    if (format_line == 0) {
        throw ProjectFileError(Where(project_line) +
                               "[project] 节缺少格式版本 format=" + std::to_string(kProjectFormat));
    }
    if (const auto problem = FormatProblem(format, kProjectFormat))
        throw ProjectFileError(Where(format_line) + *problem);
    if (!IsKnownEdition(info_.edition))
        throw ProjectFileError(Where(edition_line) + EditionProblem(info_.edition));
}

std::optional<PositionEntry> ProjectFileReader::Next() {
    if (!pending_)
        return std::nullopt;
    PositionEntry entry;
    entry.number = ++count_;
    entry.line = pending_->number;
    pending_.reset();
    std::string text;
    bool too_large = false;
    bool cut = false;
    int first_line = 0;
    EditionScan edition;
    std::string position_error;
    while (std::optional<LineReader::Line> line = lines_->Next()) {
        if (IsPositionHeader(line->text)) {
            pending_ = std::move(line);
            break;
        }
        if (first_line == 0) {
            if (auto error = ErrorLine(line->text)) {
                position_error = std::move(*error);
                continue;
            }
            first_line = line->number;
        }
        cut = cut || line->cut;
        edition.See(TrimBlanks(line->text), line->number);
        if (text.size() + line->text.size() + 1 > kMaxPositionBytes) {
            too_large = true;
            continue;
        }
        text += line->text;
        text += '\n';
    }
    if (lines_->Failed())
        throw ProjectFileError("无法读取工程文件 " + file_.string());
    if (too_large || cut) {
        entry.error = Where(entry.line) + "这个位置太大(超过16MB)或有过长的行,不是设计";
        return entry;
    }
    try {
        DesignFileReading reading = ParseDesignFile(
            text,
            DesignFilePlace{file_, "工程文件", first_line == 0 ? entry.line + 1 : first_line});
        if (reading.legacy) {
            entry.error = Where(entry.line) + "这个位置缺少 [design] 节,不是完整的设计";
            return entry;
        }
        entry.warnings = std::move(reading.warnings);
        Position position{std::move(reading.design), {}, std::move(position_error)};
        if (edition.found()) {
            if (!IsKnownEdition(edition.value())) {
                entry.error = Where(edition.line()) + EditionProblem(edition.value());
                return entry;
            }
            position.edition = edition.value();
        }
        entry.position = std::move(position);
    } catch (const DesignFileError& error) {
        entry.error = error.what();
    }
    return entry;
}

std::optional<int> CountProjectPositions(const fs::path& file) {
    if (platform::ProbeRegularFile(file).status != platform::FileReadStatus::kRead)
        return std::nullopt;
    std::FILE* stream = std::fopen(file.c_str(), "rb");
    if (stream == nullptr)
        return std::nullopt;
    LineReader lines(stream, kMaxLine);
    int count = 0;
    while (std::optional<LineReader::Line> line = lines.Next())
        count += IsPositionHeader(line->text);
    std::fclose(stream);
    return count;
}

bool LooksLikeProjectFile(const fs::path& file) {
    try {
        ProjectFileReader reader(file);
        return true;
    } catch (const ProjectFileError&) {
        return false;
    }
}

ProjectFileReading ReadProjectFile(const fs::path& file) {
    ProjectFileReader reader(file);
    ProjectFileReading reading;
    reading.project.info = reader.info();
    reading.warnings = reader.warnings();
    while (std::optional<PositionEntry> entry = reader.Next()) {
        if (!entry->position)
            throw ProjectFileError(entry->error);
        for (std::string& warning : entry->warnings) reading.warnings.push_back(std::move(warning));
        reading.project.positions.push_back(std::move(*entry->position));
    }
    return reading;
}

std::string PositionDesignText(const Position& position, const ProjectInfo& info) {
    // The position's edition is its design's: [glass] edition like any input.
    Design design = position.design;
    design.wind.edition = std::string(EditionOf(position, info));
    return DesignFileText(design);
}

std::string ProjectFileText(const Project& project) {
    std::string out = "; Quoinry 工程文件 (UTF-8)\n[project]\n";
    AppendKey(out, "format", std::to_string(kProjectFormat));
    for (const HeaderKey& header : kHeaderKeys)
        AppendKey(out, header.key, project.info.*header.value);
    for (const Position& position : project.positions) {
        out += "\n";
        out += kPositionHeader;
        out += "\n";
        if (!position.error.empty())
            AppendKey(out, kErrorKey, position.error);
        out += PositionDesignText(position, project.info);
    }
    return out;
}

void SaveProjectFile(const fs::path& file, const Project& project) {
    if (const std::error_code error = WriteFileAtomically(file, ProjectFileText(project))) {
        throw ProjectFileError("无法保存工程文件 " + file.string() + ": " +
                               DescribeFileError(error) + ";原来的文件保持不变");
    }
}

}  // namespace quoinry
