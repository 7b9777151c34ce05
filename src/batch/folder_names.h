#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quoinry {

// The report folders of a batch: each position's name made safe for a file name on Linux and
// Windows alike, duplicates numbered ("C1521", "C1521_2", ...).
class FolderNames {
  public:
    // `reserved` are names of other files in the same folder: never a position's.
    explicit FolderNames(const std::vector<std::string>& reserved = {});

    // The folder for the next position; `fallback` names one without a usable name ("第5行").
    std::string Take(std::string_view name, std::string_view fallback);

  private:
    std::set<std::string> used_;  // lower-cased: Windows does not tell "c1" from "C1"
};

// The name with characters that separate or quote paths, and control characters, replaced by
// "_", without blanks or dots at the ends, cut to a length every file system takes; empty when
// nothing usable is left.
std::string SafeFileName(std::string_view name);

}  // namespace quoinry
