#pragma once

#include <string_view>
#include <vector>

namespace quoinry::db {

// The fields of one line of a tab-separated table.
inline std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const auto tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

}  // namespace quoinry::db
