#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "db/location.h"
#include "db/value.h"

namespace quoinry::db {

class ConnectionState;

// The rows of one query, read front to back. A set opened for update can delete its current row.
class ResultSet {
  public:
    struct ColumnInfo {
        std::string name;
        bool long_data = false;
    };

    bool AtEnd() const { return row_ >= rows_.size(); }
    void MoveNext();
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    // Column by 0-based position of the current row.
    Field Column(int position) const;
    // Text of a column of the current row; nothing for NULL.
    std::optional<std::string> Text(int position) const { return Column(position).Text(); }
    // Deletes the current row from its table; the set keeps it in memory.
    void DeleteCurrent();

  private:
    friend class ConnectionState;
    struct Deleter {
        std::shared_ptr<ConnectionState> state;
        std::string statement;  // one parameter: the row's key
        std::vector<Value> keys;
    };

    std::vector<ColumnInfo> columns_;
    std::vector<std::vector<Value>> rows_;
    std::size_t row_ = 0;
    std::optional<Deleter> deleter_;
};

// The first column of every row as text; NULL reads as the empty text.
std::vector<std::string> FirstColumnTexts(ResultSet set);

// A parameter of a statement; texts are UTF-8.
using Param = Value;

// A window's connection to the engineering database. Each one has its own driver connection,
// so two windows never share a transaction.
class Connection {
  public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Closes first when open. Creates the tables (and fills the stations) when they are
    // missing; true when it did.
    bool Open(const Location& location);
    void Close();
    bool IsOpen() const;
    bool IsPostgres() const;
    const Location& location() const;

    // A read-only result set; values are bound as parameters, never pasted into the text.
    ResultSet Query(std::string_view sql, const std::vector<Param>& params = {}) const;
    // The same, but the last selected column is the row key, hidden from the set and used by
    // DeleteCurrent with `delete_sql` (one parameter, the key).
    ResultSet QueryForUpdate(std::string_view sql, const std::vector<Param>& params,
                             std::string_view delete_sql) const;
    // Rows affected.
    std::int64_t Execute(std::string_view sql, const std::vector<Param>& params = {}) const;
    // One statement run once per parameter row.
    void ExecuteEach(std::string_view sql, const std::vector<std::vector<Param>>& rows) const;

    // Runs `work` in one transaction: committed when it returns, rolled back when it throws.
    void InTransaction(const std::function<void()>& work) const;

    std::vector<std::string> Tables() const;

  private:
    std::shared_ptr<ConnectionState> state_;
};

}  // namespace quoinry::db
