#include "db/mdb_reader.h"

// glib.h first: mdbtools.h pulls it in inside extern "C", where its C++ templates fail.
#include <glib.h>
#include <mdbtools.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/calc_error.h"
#include "common/numbers.h"
#include "db/database_error.h"
#include "db/profile_columns.h"

namespace quoinry::db {
namespace {

constexpr int kProfileColumns = kPicturePosition + 1;
// A memo or OLE field starts with its length (with two flag bits) and where its data lives.
constexpr std::uint32_t kLengthMask = 0x3FFFFFFF;
// A section picture is a few kilobytes; a larger stated length is a damaged field.
constexpr std::uint32_t kPictureLimit = 64u << 20;

struct HandleCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct TableFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};

bool IsText(int type) {
    return type == MDB_TEXT || type == MDB_MEMO;
}

bool IsNumber(int type) {
    switch (type) {
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_NUMERIC:
        case MDB_MONEY:
            return true;
        default:
            return IsText(type);
    }
}

bool IsPicture(int type) {
    return type == MDB_OLE || type == MDB_BINARY;
}

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80                   ? 1
                                   : lead >= 0xC2 && lead < 0xE0 ? 2
                                   : lead >= 0xE0 && lead < 0xF0 ? 3
                                   : lead >= 0xF0 && lead < 0xF5 ? 4
                                                                 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

std::uint32_t LittleEndian32(const char* bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

// One table read through bound columns, checked as it is read.
class MdbTable {
  public:
    MdbTable(MdbHandle* mdb, const char* name, int columns) : mdb_(mdb), name_(name) {
        table_.reset(mdb_read_table_by_name(mdb, const_cast<gchar*>(name), MDB_TABLE));
        if (!table_)
            throw DatabaseError(std::string("Access 数据库中没有表 ") + name);
        if (mdb_read_columns(table_.get()) == nullptr || table_->columns == nullptr)
            throw DatabaseError(std::string("Access 数据库的表 ") + name + " 的列无法读取");
        const int count = static_cast<int>(table_->num_cols);
        if (count < columns || static_cast<int>(table_->columns->len) < columns) {
            throw DatabaseError(std::string("Access 数据库的表 ") + name + " 只有 " +
                                std::to_string(count) + " 列, 需要 " + std::to_string(columns) +
                                " 列");
        }
        buffers_.assign(static_cast<std::size_t>(columns), std::vector<char>(MDB_BIND_SIZE));
        lengths_.assign(static_cast<std::size_t>(columns), 0);
        mdb_rewind_table(table_.get());
        for (int i = 0; i < columns; ++i) {
            const auto k = static_cast<std::size_t>(i);
            mdb_bind_column(table_.get(), i + 1, buffers_[k].data(), &lengths_[k]);
        }
    }

    // The row count the table states for itself.
    std::uint64_t StatedRows() const { return table_->num_rows; }

    // The next row; false at the end. Refuses a row beyond the table's own count.
    bool Fetch() {
        if (mdb_fetch_row(table_.get()) == 0)
            return false;
        if (++row_ > StatedRows()) {
            throw Fault("记着 " + std::to_string(StatedRows()) + " 行, 却读到更多行");
        }
        return true;
    }

    // Refuses a table that ended before its own row count.
    void CheckComplete() const {
        if (row_ != StatedRows()) {
            throw Fault("记着 " + std::to_string(StatedRows()) + " 行, 只读到 " +
                        std::to_string(row_) + " 行 (文件不完整或已损坏)");
        }
    }

    void RequireType(int i, bool (*allowed)(int), const char* expected) const {
        if (!allowed(Type(i))) {
            throw Fault("第 " + std::to_string(i + 1) + " 列的类型 (" + std::to_string(Type(i)) +
                        ") 不是" + expected);
        }
    }

    bool IsTextColumn(int i) const { return IsText(Type(i)); }

    std::string Text(int i) const {
        const auto k = static_cast<std::size_t>(i);
        const auto length = static_cast<std::size_t>(lengths_[k]);
        // libmdb cuts a text to its bind buffer without saying so.
        if (lengths_[k] < 0 || length >= buffers_[k].size() - 1)
            throw Fault(Where(i) + "的文字太长");
        std::string text(buffers_[k].data(), length);
        if (!IsUtf8(text))
            throw Fault(Where(i) + "的文字无法转换 (文件已损坏)");
        return text;
    }

    // A number column read exactly: doubles from their stored bits, other types from their
    // text. Nothing for NULL and for an empty text.
    Value Number(int i) const {
        if (IsNull(i))
            return std::monostate{};
        double value = 0;
        if (Type(i) == MDB_DOUBLE) {
            const MdbColumn* column = Column(i);
            if (column->cur_value_len != sizeof(double) || column->cur_value_start < 0 ||
                column->cur_value_start + column->cur_value_len > MDB_PGSIZE)
                throw Fault(Where(i) + "的数字长度不对 (文件已损坏)");
            std::memcpy(&value, mdb_->pg_buf + column->cur_value_start, sizeof value);
        } else {
            const std::string text = Text(i);
            if (text.empty())
                return std::monostate{};
            try {
                value = ParseStrict(text);
            } catch (const CalcError&) {
                throw Fault(Where(i) + "不是数字: " + text);
            }
        }
        if (!std::isfinite(value))
            throw Fault(Where(i) + "不是有限的数字 (文件已损坏)");
        return value;
    }

    Value Picture(int i) const {
        if (IsNull(i))
            return std::monostate{};
        if (Type(i) == MDB_BINARY) {
            const MdbColumn* column = Column(i);
            if (column->cur_value_start < 0 ||
                column->cur_value_start + column->cur_value_len > MDB_PGSIZE)
                throw Fault(Where(i) + "的图片超出数据页 (文件已损坏)");
            const auto* bytes = mdb_->pg_buf + column->cur_value_start;
            return Bytes(bytes, bytes + column->cur_value_len);
        }
        return LongPicture(i);
    }

  private:
    MdbColumn* Column(int i) const {
        return static_cast<MdbColumn*>(g_ptr_array_index(table_->columns, static_cast<guint>(i)));
    }
    int Type(int i) const { return Column(i)->col_type; }
    bool IsNull(int i) const { return Column(i)->cur_value_len == 0; }

    std::string Where(int i) const {
        return "第 " + std::to_string(row_) + " 行第 " + std::to_string(i + 1) + " 列";
    }

    DatabaseError Fault(const std::string& what) const {
        return DatabaseError(std::string("表 ") + name_ + " " + what);
    }

    // An OLE field: its data inline or in a chain of pages, read piece by piece and never past
    // the length the field states, so a chain that loops ends.
    Bytes LongPicture(int i) const {
        MdbColumn* column = Column(i);
        if (column->cur_value_len < MDB_MEMO_OVERHEAD)
            throw Fault(Where(i) + "的图片字段太短 (文件已损坏)");
        const auto k = static_cast<std::size_t>(i);
        char header[MDB_MEMO_OVERHEAD];
        std::memcpy(header, buffers_[k].data(), sizeof header);
        const std::uint32_t stated = LittleEndian32(header) & kLengthMask;
        if (stated > kPictureLimit)
            throw Fault(Where(i) + "的图片长度 " + std::to_string(stated) + " 不可信 (文件已损坏)");
        Bytes picture;
        std::size_t piece = mdb_ole_read(mdb_, column, header, MDB_BIND_SIZE);
        while (piece > 0) {
            if (piece > MDB_BIND_SIZE || picture.size() + piece > stated)
                break;
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(buffers_[k].data());
            picture.insert(picture.end(), bytes, bytes + piece);
            piece = mdb_ole_read_next(mdb_, column, header);
        }
        if (piece > 0 || picture.size() != stated) {
            throw Fault(Where(i) + "的图片应有 " + std::to_string(stated) + " 字节, 读到 " +
                        std::to_string(picture.size() + piece) + " 字节 (文件不完整或已损坏)");
        }
        return picture;
    }

    MdbHandle* mdb_;
    const char* name_;
    std::unique_ptr<MdbTableDef, TableFreer> table_;
    std::vector<std::vector<char>> buffers_;
    std::vector<int> lengths_;
    std::uint64_t row_ = 0;
};

std::vector<std::vector<Value>> ReadStations(MdbHandle* mdb) {
    MdbTable table(mdb, "cs", kStationColumns);
    table.RequireType(0, IsText, "文字");
    table.RequireType(1, IsText, "文字");
    table.RequireType(2, IsNumber, "文字或数字");
    std::vector<std::vector<Value>> rows;
    while (table.Fetch()) {
        std::vector<Value> values;
        values.emplace_back(table.Text(0));
        values.emplace_back(table.Text(1));
        // A pressure stored as a number gives its general number text, as the lookups would.
        values.emplace_back(table.IsTextColumn(2) ? table.Text(2)
                                                  : ValueText(table.Number(2)).value_or(""));
        rows.push_back(std::move(values));
    }
    table.CheckComplete();
    return rows;
}

std::vector<std::vector<Value>> ReadProfiles(MdbHandle* mdb) {
    MdbTable table(mdb, "xc", kProfileColumns);
    table.RequireType(0, IsText, "文字");
    table.RequireType(1, IsText, "文字");
    for (int i = kFirstNumberPosition; i < kPicturePosition; ++i)
        table.RequireType(i, IsNumber, "数字");
    table.RequireType(kPicturePosition, IsPicture, "图片 (OLE 或二进制)");
    std::vector<std::vector<Value>> rows;
    while (table.Fetch()) {
        std::vector<Value> values;
        values.emplace_back(table.Text(0));
        values.emplace_back(table.Text(1));
        for (int i = kFirstNumberPosition; i < kPicturePosition; ++i)
            values.push_back(table.Number(i));
        values.push_back(table.Picture(kPicturePosition));
        rows.push_back(std::move(values));
    }
    table.CheckComplete();
    return rows;
}

// Bytes 4 to 19 of an Access file name its engine.
void CheckSignature(const std::filesystem::path& file) {
    char head[20] = {};
    std::ifstream in(file, std::ios::binary);
    in.read(head, sizeof head);
    const std::string_view engine(head + 4, 16);
    if (in.gcount() != sizeof head || (engine != std::string_view("Standard Jet DB\0", 16) &&
                                       engine != std::string_view("Standard ACE DB\0", 16))) {
        throw DatabaseError("不是 Access 数据库 (文件开头没有 Access 的标记)");
    }
}

// An Access file is whole pages; anything else was cut short, whatever libmdb makes of it.
void CheckWholePages(const std::filesystem::path& file, std::uint32_t page_size) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || page_size == 0 || size % page_size != 0) {
        throw DatabaseError("文件长度 " + std::to_string(size) + " 字节不是整页 (每页 " +
                            std::to_string(page_size) + " 字节): 文件不完整");
    }
}

}  // namespace

MdbTables ReadMdbTablesHere(const std::filesystem::path& file) {
    CheckSignature(file);
    std::unique_ptr<MdbHandle, HandleCloser> mdb(mdb_open(file.c_str(), MDB_NOFLAGS));
    if (!mdb)
        throw DatabaseError("不是 Access 数据库, 或文件头已损坏");
    CheckWholePages(file, mdb->fmt->pg_size);
    MdbTables tables;
    tables.stations = ReadStations(mdb.get());
    tables.profiles = ReadProfiles(mdb.get());
    return tables;
}

}  // namespace quoinry::db
