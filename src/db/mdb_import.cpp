#include "db/mdb_import.h"

// glib.h first: mdbtools.h pulls it in inside extern "C", where its C++ templates fail.
#include <glib.h>
#include <mdbtools.h>

#include <memory>
#include <string>
#include <vector>

#include "common/calc_error.h"
#include "common/numbers.h"
#include "db/connection.h"
#include "db/database_error.h"
#include "db/profile_columns.h"

namespace quoinry::db {
namespace {

constexpr int kStationColumns = 3;
constexpr int kProfileColumns = kPicturePosition + 1;

struct HandleCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct TableFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};

bool IsText(int type) {
    return type == MDB_TEXT || type == MDB_MEMO;
}

// One table read through bound columns; each fetched row is a vector of Values.
class MdbTable {
  public:
    MdbTable(MdbHandle* mdb, const char* name, int min_columns) : mdb_(mdb), name_(name) {
        table_.reset(mdb_read_table_by_name(mdb, const_cast<gchar*>(name), MDB_TABLE));
        if (!table_)
            throw DatabaseError(std::string("Access 数据库中没有表 ") + name);
        mdb_read_columns(table_.get());
        const int count = static_cast<int>(table_->num_cols);
        if (count < min_columns) {
            throw DatabaseError(std::string("Access 数据库的表 ") + name + " 只有 " +
                                std::to_string(count) + " 列, 需要 " + std::to_string(min_columns) +
                                " 列");
        }
        buffers_.assign(static_cast<std::size_t>(min_columns), std::vector<char>(MDB_BIND_SIZE));
        lengths_.assign(static_cast<std::size_t>(min_columns), 0);
        mdb_rewind_table(table_.get());
        for (int i = 0; i < min_columns; ++i) {
            const auto k = static_cast<std::size_t>(i);
            mdb_bind_column(table_.get(), i + 1, buffers_[k].data(), &lengths_[k]);
        }
    }

    bool Fetch() { return mdb_fetch_row(table_.get()) != 0; }

    int Type(int i) const { return Column(i)->col_type; }

    bool IsNull(int i) const { return Column(i)->cur_value_len == 0; }

    std::string Text(int i) const {
        const auto k = static_cast<std::size_t>(i);
        return std::string(buffers_[k].data(), static_cast<std::size_t>(lengths_[k]));
    }

    // A number column read exactly: doubles from their stored bits, other types from their text.
    Value Number(int i, int row) const {
        if (IsNull(i))
            return std::monostate{};
        if (Type(i) == MDB_DOUBLE)
            return mdb_get_double(mdb_->pg_buf, Column(i)->cur_value_start);
        const std::string text = Text(i);
        if (text.empty())
            return std::monostate{};
        try {
            return ParseStrict(text);
        } catch (const CalcError& e) {
            throw DatabaseError(std::string("Access 数据库的表 ") + name_ + " 第 " +
                                std::to_string(row) + " 行第 " + std::to_string(i) +
                                " 列不是数字: " + text);
        }
    }

    Value Picture(int i) const {
        if (IsNull(i))
            return std::monostate{};
        if (Type(i) != MDB_OLE) {
            const std::string text = Text(i);
            return Bytes(text.begin(), text.end());
        }
        std::size_t size = 0;
        void* data = mdb_ole_read_full(mdb_, Column(i), &size);
        if (data == nullptr) {
            throw DatabaseError(std::string("Access 数据库的表 ") + name_ + " 的图片无法读取");
        }
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        Bytes picture(bytes, bytes + size);
        g_free(data);
        return picture;
    }

  private:
    MdbColumn* Column(int i) const {
        return static_cast<MdbColumn*>(g_ptr_array_index(table_->columns, static_cast<guint>(i)));
    }

    MdbHandle* mdb_;
    const char* name_;
    std::unique_ptr<MdbTableDef, TableFreer> table_;
    std::vector<std::vector<char>> buffers_;
    std::vector<int> lengths_;
};

std::vector<std::vector<Param>> ReadStations(MdbHandle* mdb) {
    MdbTable table(mdb, "cs", kStationColumns);
    std::vector<std::vector<Param>> rows;
    for (int row = 1; table.Fetch(); ++row) {
        std::vector<Param> values;
        values.emplace_back(table.Text(0));
        values.emplace_back(table.Text(1));
        // A pressure stored as a number gives its general number text, as the lookups would.
        if (IsText(table.Type(2)) || table.IsNull(2)) {
            values.emplace_back(table.Text(2));
        } else {
            values.emplace_back(ValueText(table.Number(2, row)).value_or(""));
        }
        rows.push_back(std::move(values));
    }
    return rows;
}

std::vector<std::vector<Param>> ReadProfiles(MdbHandle* mdb) {
    MdbTable table(mdb, "xc", kProfileColumns);
    std::vector<std::vector<Param>> rows;
    for (int row = 1; table.Fetch(); ++row) {
        std::vector<Param> values;
        values.emplace_back(table.Text(0));
        values.emplace_back(table.Text(1));
        for (int i = kFirstNumberPosition; i < kPicturePosition; ++i) {
            values.push_back(table.Number(i, row));
        }
        values.push_back(table.Picture(kPicturePosition));
        rows.push_back(std::move(values));
    }
    return rows;
}

std::int64_t RowCount(const Connection& connection, const char* table) {
    ResultSet set = connection.Query(std::string("SELECT COUNT(*) FROM ") + table);
    return std::stoll(set.Text(0).value_or("0"));
}

void RefuseNonEmpty(const Connection& connection) {
    for (const char* table : {"cs", "xc"}) {
        if (const auto rows = RowCount(connection, table); rows > 0) {
            throw DatabaseError(std::string("表 ") + table + " 已有 " + std::to_string(rows) +
                                " 行数据, 未导入; 要替换现有数据请加 --replace");
        }
    }
}

}  // namespace

ImportCounts ImportMdb(const Connection& connection, const std::filesystem::path& file,
                       bool replace) {
    std::unique_ptr<MdbHandle, HandleCloser> mdb(mdb_open(file.c_str(), MDB_NOFLAGS));
    if (!mdb)
        throw DatabaseError("无法打开 Access 数据库: " + file.string());
    const auto stations = ReadStations(mdb.get());
    const auto profiles = ReadProfiles(mdb.get());

    connection.InTransaction([&] {
        if (replace) {
            connection.Execute("DELETE FROM xc");
            connection.Execute("DELETE FROM cs");
        } else {
            RefuseNonEmpty(connection);
        }
        connection.ExecuteEach("INSERT INTO cs (station, city, wp50) VALUES (?, ?, ?)", stations);
        connection.ExecuteEach(ProfileInsertStatement(), profiles);
    });
    return {static_cast<int>(stations.size()), static_cast<int>(profiles.size())};
}

}  // namespace quoinry::db
