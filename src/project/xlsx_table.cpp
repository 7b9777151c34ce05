#include <expat.h>
#include <zip.h>

#include <cstring>
#include <deque>
#include <string_view>

#include "common/text.h"
#include "project/table_reader.h"

namespace quoinry {
namespace {

namespace fs = std::filesystem;

// The parts read whole (workbook, relationships, shared strings) stay below these sizes, so a
// small file that unpacks to gigabytes is refused instead of filling the memory.
constexpr zip_uint64_t kMaxPartBytes = 64u << 20;
constexpr zip_uint64_t kMaxSharedStringBytes = 256u << 20;
constexpr std::size_t kMaxSharedStrings = 1u << 24;
constexpr int kMaxRows = 1048576;
constexpr std::size_t kChunk = 1 << 16;

std::string_view LocalName(const XML_Char* name) {
    std::string_view text(name);
    const std::size_t colon = text.rfind(':');
    return colon == std::string_view::npos ? text : text.substr(colon + 1);
}

const XML_Char* Attribute(const XML_Char** attributes, std::string_view local) {
    for (int i = 0; attributes[i] != nullptr; i += 2) {
        if (LocalName(attributes[i]) == local)
            return attributes[i + 1];
    }
    return nullptr;
}

// One expat parser with its handler object as the user data.
class XmlParser {
  public:
    explicit XmlParser(void* handler) : parser_(XML_ParserCreate("UTF-8")) {
        XML_SetUserData(parser_, handler);
    }
    ~XmlParser() { XML_ParserFree(parser_); }
    XmlParser(const XmlParser&) = delete;
    XmlParser& operator=(const XmlParser&) = delete;
    XML_Parser get() const { return parser_; }

  private:
    XML_Parser parser_;
};

// Common ground of the three XML parts: a parser over a handler object, fed chunk by chunk.
class PartParser {
  public:
    virtual ~PartParser() = default;

    // False with `error` set when the XML is broken or the handler gave up.
    bool Feed(const char* data, std::size_t size, bool last, std::string& error) {
        if (XML_Parse(parser_.get(), data, static_cast<int>(size), last ? 1 : 0) ==
            XML_STATUS_ERROR) {
            error = !problem_.empty()
                        ? problem_
                        : std::string("XML 错误: ") +
                              XML_ErrorString(XML_GetErrorCode(parser_.get())) + "(第" +
                              std::to_string(XML_GetCurrentLineNumber(parser_.get())) + "行)";
            return false;
        }
        return true;
    }

  protected:
    PartParser() : parser_(this) {
        XML_SetElementHandler(
            parser_.get(),
            [](void* self, const XML_Char* name, const XML_Char** attributes) {
                static_cast<PartParser*>(self)->Start(LocalName(name), attributes);
            },
            [](void* self, const XML_Char* name) {
                static_cast<PartParser*>(self)->End(LocalName(name));
            });
        XML_SetCharacterDataHandler(
            parser_.get(), [](void* self, const XML_Char* text, int length) {
                static_cast<PartParser*>(self)->Text(
                    std::string_view(text, static_cast<std::size_t>(length)));
            });
        // A workbook has no document type declaration, and entity definitions are how a small
        // file is made to unpack to gigabytes.
        XML_SetStartDoctypeDeclHandler(
            parser_.get(), [](void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
                static_cast<PartParser*>(self)->Stop("含有文档类型声明(DOCTYPE),不是 Excel 工作簿");
            });
    }

    virtual void Start(std::string_view name, const XML_Char** attributes) = 0;
    virtual void End(std::string_view name) = 0;
    virtual void Text(std::string_view) {}

    void Stop(std::string problem) {
        if (problem_.empty())
            problem_ = std::move(problem);
        XML_StopParser(parser_.get(), XML_FALSE);
    }

  private:
    XmlParser parser_;
    std::string problem_;
};

class Archive {
  public:
    explicit Archive(const fs::path& path) : path_(path) {
        int code = 0;
        archive_ = zip_open(path.c_str(), ZIP_RDONLY, &code);
        if (archive_ == nullptr)
            throw ScheduleError("计划表 " + path.string() +
                                " 不是 xlsx 工作簿(无法作为 zip 文件打开)");
    }
    ~Archive() { zip_discard(archive_); }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    bool Has(const std::string& name) const {
        return zip_name_locate(archive_, name.c_str(), 0) >= 0;
    }

    // Feeds the part to the parser; throws ScheduleError naming the part when it is broken,
    // larger than `limit` unpacked, or unreadable.
    void Parse(const std::string& name, PartParser& parser, zip_uint64_t limit) const {
        zip_file_t* file = zip_fopen(archive_, name.c_str(), 0);
        if (file == nullptr)
            Fail(name, "无法读取");
        std::string chunk(kChunk, '\0');
        zip_uint64_t total = 0;
        std::string error;
        while (true) {
            const zip_int64_t got = zip_fread(file, chunk.data(), chunk.size());
            if (got < 0) {
                zip_fclose(file);
                Fail(name, "已损坏,无法解压");
            }
            total += static_cast<zip_uint64_t>(got);
            if (total > limit) {
                zip_fclose(file);
                Fail(name, "解压后太大");
            }
            if (!parser.Feed(chunk.data(), static_cast<std::size_t>(got), got == 0, error)) {
                zip_fclose(file);
                Fail(name, error);
            }
            if (got == 0)
                break;
        }
        zip_fclose(file);
    }

    zip_file_t* Open(const std::string& name) const {
        zip_file_t* file = zip_fopen(archive_, name.c_str(), 0);
        if (file == nullptr)
            Fail(name, "无法读取");
        return file;
    }

    [[noreturn]] void Fail(const std::string& part, const std::string& problem) const {
        throw ScheduleError("计划表 " + path_.string() + " 的 " + part + " " + problem);
    }

  private:
    fs::path path_;
    zip_t* archive_ = nullptr;
};

// xl/workbook.xml: the relationship id of the first sheet.
class WorkbookPart : public PartParser {
  public:
    std::string first_sheet;

  private:
    void Start(std::string_view name, const XML_Char** attributes) override {
        if (name != "sheet" || !first_sheet.empty())
            return;
        if (const XML_Char* id = Attribute(attributes, "id"))
            first_sheet = id;
    }
    void End(std::string_view) override {}
};

// xl/_rels/workbook.xml.rels: the targets of the first sheet and of the shared strings.
class RelationshipsPart : public PartParser {
  public:
    explicit RelationshipsPart(std::string sheet_id) : sheet_id_(std::move(sheet_id)) {}
    std::string sheet_target;
    std::string strings_target;

  private:
    void Start(std::string_view name, const XML_Char** attributes) override {
        if (name != "Relationship")
            return;
        const XML_Char* id = Attribute(attributes, "Id");
        const XML_Char* type = Attribute(attributes, "Type");
        const XML_Char* target = Attribute(attributes, "Target");
        if (target == nullptr)
            return;
        if (id != nullptr && sheet_id_ == id)
            sheet_target = target;
        if (type != nullptr && std::string_view(type).ends_with("/sharedStrings"))
            strings_target = target;
    }
    void End(std::string_view) override {}

    std::string sheet_id_;
};

// Text of <t> elements, except those of phonetic runs (<rPh>), which Excel shows nowhere.
class RichText {
  public:
    void Start(std::string_view name) {
        if (name == "rPh")
            ++phonetic_;
        else if (name == "t")
            in_text_ = true;
    }
    void End(std::string_view name) {
        if (name == "rPh")
            --phonetic_;
        else if (name == "t")
            in_text_ = false;
    }
    bool Take(std::string_view text, std::string& into, std::size_t limit) const {
        if (!in_text_ || phonetic_ > 0)
            return true;
        if (into.size() + text.size() > limit)
            return false;
        into += text;
        return true;
    }

  private:
    bool in_text_ = false;
    int phonetic_ = 0;
};

// The shared strings in one buffer: millions of empty or short ones (a small file can hold them)
// cost a few bytes each, not a string each.
class PackedStrings {
  public:
    std::size_t size() const { return ends_.size(); }
    std::string_view At(std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(text_).substr(begin, ends_[i] - begin);
    }
    void Add(std::string_view text) {
        text_ += text;
        ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    }

  private:
    std::string text_;
    std::vector<std::uint32_t> ends_;  // the part is at most kMaxSharedStringBytes
};

// xl/sharedStrings.xml: every <si> in order.
class SharedStringsPart : public PartParser {
  public:
    PackedStrings strings;

  private:
    void Start(std::string_view name, const XML_Char**) override {
        if (name == "si") {
            if (strings.size() >= kMaxSharedStrings)
                Stop("的共享文本多于 " + std::to_string(kMaxSharedStrings) + " 个");
            item_.clear();
            in_item_ = true;
        }
        rich_.Start(name);
    }
    void End(std::string_view name) override {
        rich_.End(name);
        if (name == "si" && in_item_) {
            strings.Add(item_);
            in_item_ = false;
        }
    }
    void Text(std::string_view text) override {
        if (in_item_ && !rich_.Take(text, item_, kMaxCellBytes))
            Stop("中有过长的文本(超过128KB)");
    }

    RichText rich_;
    std::string item_;
    bool in_item_ = false;
};

// A cell reference such as "AB12": its column (from 0) and row; nothing when it is not one.
std::optional<std::pair<std::size_t, int>> CellReference(std::string_view text) {
    std::size_t column = 0;
    std::size_t i = 0;
    while (i < text.size() && text[i] >= 'A' && text[i] <= 'Z') {
        column = column * 26 + static_cast<std::size_t>(text[i] - 'A' + 1);
        if (column > kMaxTableColumns)
            return std::nullopt;
        ++i;
    }
    if (i == 0 || i == text.size() || text.size() - i > 7)
        return std::nullopt;
    int row = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        row = row * 10 + (text[i] - '0');
    }
    if (row < 1 || row > kMaxRows)
        return std::nullopt;
    return std::pair{column - 1, row};
}

// A worksheet, streamed: rows come out as their </row> goes by.
class SheetPart : public PartParser {
  public:
    explicit SheetPart(const PackedStrings& strings) : strings_(strings) {}
    std::deque<TableRow> ready;

  private:
    void Start(std::string_view name, const XML_Char** attributes) override {
        if (name == "row") {
            StartRow(attributes);
        } else if (name == "c") {
            StartCell(attributes);
        } else if (name == "v" && in_cell_) {
            in_value_ = true;
        } else if (name == "is" && in_cell_) {
            in_inline_ = true;
        }
        if (in_inline_)
            rich_.Start(name);
    }

    void End(std::string_view name) override {
        if (in_inline_)
            rich_.End(name);
        if (name == "v") {
            in_value_ = false;
        } else if (name == "is") {
            in_inline_ = false;
        } else if (name == "c" && in_cell_) {
            EndCell();
        } else if (name == "row" && in_row_) {
            in_row_ = false;
            ready.push_back(std::move(row_));
            row_ = {};
        }
    }

    void Text(std::string_view text) override {
        if (!in_cell_)
            return;
        const bool taken =
            in_inline_ ? rich_.Take(text, value_, kMaxCellBytes) : !in_value_ || Append(text);
        if (!taken)
            Stop("的单元格 " + Where() + " 文本过长(超过128KB)");
    }

    bool Append(std::string_view text) {
        if (value_.size() + text.size() > kMaxCellBytes)
            return false;
        value_ += text;
        return true;
    }

    std::string Where() const { return ColumnLetters(column_) + std::to_string(row_.number); }

    void StartRow(const XML_Char** attributes) {
        int number = last_row_ + 1;
        if (const XML_Char* r = Attribute(attributes, "r")) {
            const auto parsed = CellReference(std::string("A") + r);
            if (!parsed) {
                Stop("的行号“" + std::string(r) + "”不是1到1048576的数");
                return;
            }
            number = parsed->second;
        }
        if (number <= last_row_ || number > kMaxRows) {
            Stop("的第" + std::to_string(number) + "行不在前一行之后,工作表已损坏");
            return;
        }
        last_row_ = number;
        in_row_ = true;
        row_ = {};
        row_.number = number;
        next_column_ = 0;
    }

    void StartCell(const XML_Char** attributes) {
        if (!in_row_) {
            Stop("有不在行中的单元格,工作表已损坏");
            return;
        }
        column_ = next_column_;
        if (const XML_Char* r = Attribute(attributes, "r")) {
            const auto parsed = CellReference(r);
            if (!parsed || parsed->second != row_.number) {
                Stop("的单元格引用“" + std::string(r) + "”不在第" + std::to_string(row_.number) +
                     "行,或超出了 XFD 列");
                return;
            }
            column_ = parsed->first;
        }
        if (column_ >= kMaxTableColumns) {
            Stop("的第" + std::to_string(row_.number) + "行超出了 XFD 列");
            return;
        }
        if (column_ < row_.cells.size() && !row_.cells[column_].empty()) {
            Stop("的单元格 " + Where() + " 出现了两次,工作表已损坏");
            return;
        }
        const XML_Char* type = Attribute(attributes, "t");
        type_ = type != nullptr ? type : "n";
        value_.clear();
        in_cell_ = true;
        next_column_ = column_ + 1;
    }

    void EndCell() {
        in_cell_ = false;
        std::string text;
        if (value_.empty()) {
            return;  // a blank cell that only carries a style
        } else if (type_ == "s") {
            const std::string_view index = TrimBlanks(value_);
            std::size_t at = 0;
            bool digits = !index.empty() && index.size() <= 9;
            for (char c : index) {
                digits = digits && c >= '0' && c <= '9';
                at = at * 10 + static_cast<std::size_t>(c - '0');
            }
            if (!digits || at >= strings_.size()) {
                Stop("的单元格 " + Where() + " 指向不存在的共享文本“" + value_ + "”,工作簿已损坏");
                return;
            }
            text = strings_.At(at);
        } else if (type_ == "b") {
            text = TrimBlanks(value_) == "1" ? "True" : "False";
        } else {
            text = std::move(value_);  // numbers as stored, "str", "inlineStr", errors, dates
        }
        value_.clear();
        if (text.empty())
            return;
        if (row_.cells.size() <= column_)
            row_.cells.resize(column_ + 1);
        row_.cells[column_] = std::move(text);
    }

    const PackedStrings& strings_;
    RichText rich_;
    TableRow row_;
    int last_row_ = 0;
    bool in_row_ = false;
    bool in_cell_ = false;
    bool in_value_ = false;
    bool in_inline_ = false;
    std::size_t column_ = 0;
    std::size_t next_column_ = 0;
    std::string type_;
    std::string value_;
};

// A target of the workbook's relationships, as a name in the archive.
std::string PartName(const std::string& target) {
    if (target.starts_with("/"))
        return target.substr(1);
    return "xl/" + target;
}

class XlsxTable : public TableReader {
  public:
    explicit XlsxTable(const fs::path& path) : archive_(path) {
        std::string sheet = "xl/worksheets/sheet1.xml";
        std::string strings = "xl/sharedStrings.xml";
        if (archive_.Has("xl/workbook.xml")) {
            WorkbookPart workbook;
            archive_.Parse("xl/workbook.xml", workbook, kMaxPartBytes);
            if (archive_.Has("xl/_rels/workbook.xml.rels")) {
                RelationshipsPart relationships(workbook.first_sheet);
                archive_.Parse("xl/_rels/workbook.xml.rels", relationships, kMaxPartBytes);
                if (!relationships.sheet_target.empty())
                    sheet = PartName(relationships.sheet_target);
                if (!relationships.strings_target.empty())
                    strings = PartName(relationships.strings_target);
            }
        }
        if (!archive_.Has(sheet))
            archive_.Fail(sheet, "不存在:这不是 Excel 工作簿(.xlsx)");
        if (archive_.Has(strings))
            archive_.Parse(strings, shared_strings_, kMaxSharedStringBytes);
        sheet_name_ = sheet;
        file_ = archive_.Open(sheet);
        sheet_ = std::make_unique<SheetPart>(shared_strings_.strings);
    }
    ~XlsxTable() override {
        if (file_ != nullptr)
            zip_fclose(file_);
    }

    std::optional<TableRow> Next() override {
        std::string chunk;
        while (sheet_->ready.empty() && file_ != nullptr) {
            chunk.resize(kChunk);
            const zip_int64_t got = zip_fread(file_, chunk.data(), chunk.size());
            if (got < 0)
                Close("已损坏,无法解压");
            std::string error;
            if (!sheet_->Feed(chunk.data(), static_cast<std::size_t>(got), got == 0, error))
                Close(error);
            if (got == 0) {
                zip_fclose(file_);
                file_ = nullptr;
            }
        }
        if (sheet_->ready.empty())
            return std::nullopt;
        TableRow row = std::move(sheet_->ready.front());
        sheet_->ready.pop_front();
        return row;
    }

  private:
    [[noreturn]] void Close(const std::string& problem) {
        zip_fclose(file_);
        file_ = nullptr;
        archive_.Fail(sheet_name_, problem);
    }

    Archive archive_;
    SharedStringsPart shared_strings_;
    std::string sheet_name_;
    zip_file_t* file_ = nullptr;
    std::unique_ptr<SheetPart> sheet_;
};

}  // namespace

std::unique_ptr<TableReader> OpenXlsxTable(const fs::path& file) {
    RequireReadableSchedule(file);
    return std::make_unique<XlsxTable>(file);
}

}  // namespace quoinry
