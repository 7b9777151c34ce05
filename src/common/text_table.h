#pragma once

#include <string_view>

namespace quoinry {

// The row of a table whose `text` matches exactly (case- and width-sensitive), or nullptr.
template <typename Table>
const typename Table::value_type* FindByText(const Table& table, std::string_view text) {
    for (const auto& row : table) {
        if (row.text == text)
            return &row;
    }
    return nullptr;
}

}  // namespace quoinry
