#include "design/design_file.h"

#include <map>

#include "common/atomic_file.h"
#include "common/base64.h"
#include "common/cp936.h"
#include "common/metafile_header.h"
#include "common/text.h"
#include "common/text_encoding.h"
#include "design/input_fields.h"
#include "platform/regular_file.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

// Far beyond a design with a large picture; anything bigger is not a design file.
constexpr std::size_t kMaxFileBytes = 16u << 20;
constexpr std::size_t kPictureLineLength = 76;

struct ExtraKey {
    std::string_view section;
    std::string_view key;
};

// The keys a design file may hold beside the input fields. A new key (a code edition, say) is
// one more line here, and the reader stops warning about it.
constexpr ExtraKey kExtraKeys[] =
    {
        {"design", "format"},   {"design", "name"},    {"design", "project"},
        {"design", "engineer"}, {"design", "checker"}, {"design", "approver"},
        {"design", "date"},     {"profile", "source"}, {"profile", "drawing"},
        {"profile", "picture"}, {"database", "url"},  // info.ini: where the database is
        {"glass", "edition"},  // the code edition of the wind step: 2001 or 2012
};

// Keys that may repeat: their values are joined in file order.
constexpr ExtraKey kRepeatedKeys[] = {{"profile", "picture"}};

constexpr std::string_view kLibrarySource = "library";
constexpr std::string_view kDrawingSource = "drawing";

bool KnownSection(std::string_view section) {
    for (const InputField& field : InputFields()) {
        if (field.section == section)
            return true;
    }
    for (const ExtraKey& extra : kExtraKeys) {
        if (extra.section == section)
            return true;
    }
    return false;
}

bool KnownKey(std::string_view section, std::string_view key) {
    if (FindInputField(section, key) != nullptr)
        return true;
    for (const ExtraKey& extra : kExtraKeys) {
        if (extra.section == section && extra.key == key)
            return true;
    }
    return false;
}

bool Repeats(std::string_view section, std::string_view key) {
    for (const ExtraKey& repeated : kRepeatedKeys) {
        if (repeated.section == section && repeated.key == key)
            return true;
    }
    return false;
}

struct Line {
    int number = 0;
    std::string_view text;
};

std::vector<Line> SplitNumberedLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    int number = 1;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({number, text.substr(start)});
            break;
        }
        lines.push_back({number++, text.substr(start, end - start)});
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

int LineOfOffset(std::string_view text, std::size_t offset) {
    int line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
    }
    return line;
}

struct Value {
    std::string text;
    int line = 0;
};

struct Section {
    int line = 0;
    std::map<std::string, Value> values;  // by lower-cased key
};

class DesignFileParser {
  public:
    DesignFileParser(std::string_view bytes, const DesignFilePlace& place)
        : bytes_(bytes), place_(place) {}

    DesignFileReading Run() {
        if (bytes_.size() > kMaxFileBytes) {
            throw DesignFileError(place_.noun + " " + place_.file.string() + " 太大(" +
                                  std::to_string(bytes_.size()) + " 字节),不是设计文件");
        }
        // Notepad's "Unicode" is UTF-16 with a byte order mark: read as the UTF-8 it holds.
        std::string converted;
        std::string_view bytes = bytes_;
        if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
            converted = "\xEF\xBB\xBF" + Utf16ToUtf8(bytes);
            bytes = converted;
        }
        CheckText(bytes);
        const TextFileBody body = SplitTextEncoding(bytes);
        if (!body.utf8)
            WarnOutsideGbk(body.bytes);
        const std::string text = ToUtf8(body);
        for (const Line& line : SplitNumberedLines(text)) ReadLine(line);
        reading_.legacy = !sections_.contains("design");
        if (reading_.legacy && !sections_.contains("glass") && !sections_.contains("gj")) {
            throw DesignFileError(place_.noun + " " + place_.file.string() +
                                  " 中没有 [design]、[glass] 或 [gj] 节,不是设计文件");
        }
        if (!reading_.legacy)
            CheckCurrentFormat(body.bytes);
        FillDesign();
        return std::move(reading_);
    }

  private:
    std::string Where(int line) const {
        return place_.noun + " " + place_.file.string() + " 第" +
               std::to_string(line + place_.first_line - 1) + "行: ";
    }
    [[noreturn]] void Fail(int line, const std::string& problem) const {
        throw DesignFileError(Where(line) + problem);
    }
    void Warn(int line, const std::string& problem) {
        reading_.warnings.push_back("警告: " + Where(line) + problem);
    }
    // A GBK file cannot hold them: the program would read "�" and digits without a word.
    void WarnOutsideGbk(std::string_view cp936) {
        int warned = 0;
        int line = 1;
        std::size_t counted = 0;  // lines are counted up to here
        for (const std::size_t at : Gb18030OnlyCharacters(cp936)) {
            line += LineOfOffset(cp936.substr(counted), at - counted) - 1;
            counted = at;
            if (line == warned)
                continue;
            warned = line;
            Warn(line,
                 "有 GBK 以外的字符(GB18030 的四字节字符),本程序读不出;"
                 "请把文件另存为 UTF-8");
        }
    }

    // Control bytes other than line ends and tabs do not occur in text of any encoding read
    // here: the file is binary (a drawing, a workbook, a program).
    void CheckText(std::string_view bytes) const {
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f') {
                throw DesignFileError(place_.noun + " " + place_.file.string() +
                                      " 不是文本文件(含有二进制数据),不是设计文件");
            }
        }
    }

    void ReadLine(const Line& line) {
        const std::string_view text = TrimBlanks(line.text);
        if (text.empty() || text.front() == ';' || text.front() == '#')
            return;
        if (text.front() == '[') {
            const std::size_t close = text.rfind(']');
            if (close == std::string_view::npos)
                Fail(line.number, "节标题“" + std::string(text) + "”缺少“]”");
            StartSection(line.number, AsciiLower(TrimBlanks(text.substr(1, close - 1))));
            return;
        }
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos) {
            Warn(line.number, "“" + std::string(text) + "”不是“键=值”的形式,已忽略");
            return;
        }
        AddValue(line.number, AsciiLower(TrimBlanks(text.substr(0, equals))),
                 TrimBlanks(text.substr(equals + 1)));
    }

    void StartSection(int line, const std::string& name) {
        if (name == "project" || name == "position")
            Fail(line, "这是工程文件,不是设计文件;请在“工程”窗口中打开");
        current_ = nullptr;
        current_name_ = name;
        if (!KnownSection(name)) {
            Warn(line, "未知的节[" + name + "],其中的内容已忽略");
            return;
        }
        const auto [it, inserted] = sections_.try_emplace(name, Section{line, {}});
        if (!inserted) {
            Warn(line, "节[" + name + "]在第" + std::to_string(it->second.line) +
                           "行已出现,这里的第二个已忽略");
            return;
        }
        current_ = &it->second;
    }

    void AddValue(int line, const std::string& key, std::string_view value) {
        if (current_name_.empty()) {
            Warn(line, "键“" + key + "”不在任何节中,已忽略");
            return;
        }
        if (current_ == nullptr)
            return;  // in an unknown or repeated section, warned about once
        if (!KnownKey(current_name_, key)) {
            Warn(line, "节[" + current_name_ + "]中未知的键“" + key + "”,已忽略");
            return;
        }
        const auto [it, inserted] =
            current_->values.try_emplace(key, Value{std::string(value), line});
        if (inserted)
            return;
        if (Repeats(current_name_, key)) {
            it->second.text += value;
            return;
        }
        Warn(line,
             "键“" + key + "”在第" + std::to_string(it->second.line) + "行已出现,以那一行为准");
    }

    const Value* Find(std::string_view section, std::string_view key) const {
        const auto found = sections_.find(std::string(section));
        if (found == sections_.end())
            return nullptr;
        const auto value = found->second.values.find(std::string(key));
        return value == found->second.values.end() ? nullptr : &value->second;
    }

    std::string Text(std::string_view section, std::string_view key) const {
        const Value* value = Find(section, key);
        if (value == nullptr)
            return {};
        if (!reading_.legacy)
            return value->text;
        return std::string(TrimBlanks(CutToCp936Bytes(value->text, kProfileReadLimitBytes)));
    }

    void CheckCurrentFormat(std::string_view body) const {
        if (const auto invalid = FirstInvalidUtf8(body))
            Fail(LineOfOffset(body, *invalid), "不是有效的 UTF-8 文本;设计文件应以 UTF-8 保存");
        const int header = sections_.at("design").line;
        const Value* format = Find("design", "format");
        if (format == nullptr)
            Fail(header, "[design] 节缺少格式版本 format=" + std::to_string(kDesignFormat));
        const std::string& text = format->text;
        const bool digits =
            !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
        const std::size_t first = digits ? text.find_first_not_of('0') : 0;
        if (!digits || first == std::string::npos)
            Fail(format->line, "格式版本 format 应为正整数,这里是“" + text + "”");
        // Ten digits and more are newer than any int this program could write.
        const bool newer = text.size() - first > 9 || std::stoi(text.substr(first)) > kDesignFormat;
        if (newer) {
            Fail(format->line, "格式版本 format=" + text + " 比本程序认识的版本(" +
                                   std::to_string(kDesignFormat) +
                                   ")新,请用较新版本的 Quoinry 打开");
        }
    }

    void FillDesign() {
        Design& design = reading_.design;
        const bool has_member = sections_.contains("gj");
        for (const InputField& field : InputFields()) {
            if (field.section == "gj" && !has_member)
                continue;
            const bool absent = Find(field.section, field.key) == nullptr;
            SetFieldText(design, field,
                         absent ? std::string(field.default_text) : Text(field.section, field.key));
        }
        design.insulating_glass = IsInsulating(design.glass);
        design.info = {Text("design", "name"),     Text("design", "project"),
                       Text("design", "engineer"), Text("design", "checker"),
                       Text("design", "approver"), Text("design", "date")};
        FillProfile(design);
    }

    void FillProfile(Design& design) const {
        const Value* source = Find("profile", "source");
        const std::string kind = source != nullptr ? AsciiLower(source->text) : "";
        if (kind == kDrawingSource) {
            const std::string drawing = Text("profile", "drawing");
            if (drawing.empty())
                Fail(source->line, "source=drawing 还需要 drawing=图形文件名");
            if (design.member)
                design.member->section_drawing = drawing;
        } else if (source != nullptr && kind != kLibrarySource) {
            Fail(source->line,
                 "source 应为 library(型材库)或 drawing(自定义截面),这里是“" + source->text + "”");
        }
        if (const Value* picture = Find("profile", "picture")) {
            std::optional<std::string> bytes = DecodeBase64(picture->text);
            if (!bytes)
                Fail(picture->line, "截面图片 picture 不是有效的 base64 文本");
            if (!IsWindowsMetafile(*bytes))
                Fail(picture->line, "截面图片 picture 不是 Windows 图元文件(WMF)");
            design.picture = std::move(*bytes);
        }
    }

    std::string_view bytes_;
    const DesignFilePlace& place_;
    DesignFileReading reading_;
    std::map<std::string, Section> sections_;
    Section* current_ = nullptr;
    std::string current_name_;
};

// A value that would break its line, or start another, ends there.
std::string_view OneLine(std::string_view text) {
    return text.substr(0, text.find_first_of(std::string_view("\0\r\n", 3)));
}

void AppendKey(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += '=';
    out += OneLine(value);
    out += '\n';
}

}  // namespace

MinimumWkRule MinimumRuleOf(std::string_view op1, std::string_view op2) {
    if (AsciiLower(op2) == "true")
        return MinimumWkRule::AtLeast075;
    if (AsciiLower(op1) == "true")
        return MinimumWkRule::AtLeast1;
    return MinimumWkRule::None;
}

Design ReadDesign(const IniDocument& settings) {
    Design design;
    const bool has_member = settings.HasSection("gj");
    for (const InputField& field : InputFields()) {
        if (field.section == "gj" && !has_member)
            continue;
        const bool absent = !settings.HasKey(field.section, field.key);
        SetFieldText(
            design, field,
            absent ? std::string(field.default_text) : settings.Value(field.section, field.key));
    }
    design.insulating_glass = IsInsulating(design.glass);
    return design;
}

DesignFileReading ParseDesignFile(std::string_view bytes, const fs::path& file) {
    return ParseDesignFile(bytes, DesignFilePlace{file, "设计文件", 1});
}

DesignFileReading ParseDesignFile(std::string_view bytes, const DesignFilePlace& place) {
    return DesignFileParser(bytes, place).Run();
}

DesignFileReading ReadDesignFile(const fs::path& file) {
    // One read that never blocks: a FIFO or a device named as a design must not hang the program.
    platform::FileRead read = platform::ReadRegularFile(file, kMaxFileBytes);
    switch (read.status) {
        case platform::FileReadStatus::kRead:
            return ParseDesignFile(read.bytes, file);
        case platform::FileReadStatus::kMissing:
            throw DesignFileError("找不到设计文件 " + file.string());
        case platform::FileReadStatus::kNotRegular:
            throw DesignFileError("设计文件 " + file.string() + " 不是普通文件");
        case platform::FileReadStatus::kTooLarge:
            throw DesignFileError("设计文件 " + file.string() + " 太大(超过16MB),不是设计文件");
        case platform::FileReadStatus::kUnreadable:
            break;
    }
    throw DesignFileError("无法读取设计文件 " + file.string() + ": " + read.error);
}

std::string DesignFileText(const Design& design) {
    std::string out = "; Quoinry 设计文件 (UTF-8)\n[design]\n";
    AppendKey(out, "format", std::to_string(kDesignFormat));
    AppendKey(out, "name", design.info.name);
    AppendKey(out, "project", design.info.project);
    AppendKey(out, "engineer", design.info.engineer);
    // Written only when given, so that older designs keep their text.
    for (const auto& [key, value] :
         {std::pair("checker", &design.info.checker), std::pair("approver", &design.info.approver),
          std::pair("date", &design.info.date)}) {
        if (!value->empty())
            AppendKey(out, key, *value);
    }
    std::string_view section;
    for (const InputField& field : InputFields()) {
        if (field.section == "gj" && !design.member)
            break;
        if (field.section != section) {
            section = field.section;
            out += "\n[" + std::string(section) + "]\n";
        }
        AppendKey(out, field.key, FieldText(design, field));
    }
    const bool drawing = design.member && !design.member->section_drawing.empty();
    out += "\n[profile]\n";
    AppendKey(out, "source", drawing ? kDrawingSource : kLibrarySource);
    if (drawing)
        AppendKey(out, "drawing", design.member->section_drawing);
    const std::string picture = EncodeBase64(design.picture);
    for (std::size_t at = 0; at < picture.size(); at += kPictureLineLength)
        AppendKey(out, "picture", std::string_view(picture).substr(at, kPictureLineLength));
    return out;
}

void SaveDesignFile(const fs::path& file, const Design& design) {
    if (const std::error_code error = WriteFileAtomically(file, DesignFileText(design))) {
        throw DesignFileError("无法保存设计文件 " + file.string() + ": " +
                              DescribeFileError(error) + ";原来的文件保持不变");
    }
}

}  // namespace quoinry
