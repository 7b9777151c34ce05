#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quoinry::db {

using Bytes = std::vector<std::uint8_t>;

// One stored value: NULL, a number, a text or the bytes of a long binary column.
using Value = std::variant<std::monostate, std::int64_t, double, std::string, Bytes>;

// The value converted to text; nothing for NULL. Numbers take their general number text.
// Raises "类型不匹配" for bytes.
std::optional<std::string> ValueText(const Value& value);

// The attribute bit of a column that can be read in pieces.
inline constexpr int kLongDataAttribute = 0x80;

// One column of the current row, with the read position of GetChunk.
class Field {
  public:
    Field(Value value, bool long_data) : value_(std::move(value)), long_data_(long_data) {}

    int Attributes() const { return long_data_ ? kLongDataAttribute : 0; }
    // Bytes of a long binary column (0 for NULL), else the length of the value's text.
    std::int64_t ActualSize() const;
    // The next `size` bytes (fewer at the end) of a long binary column.
    Bytes GetChunk(std::int64_t size);
    std::optional<std::string> Text() const { return ValueText(value_); }
    const Value& value() const { return value_; }

  private:
    Value value_;
    bool long_data_;
    std::size_t read_ = 0;
};

}  // namespace quoinry::db
