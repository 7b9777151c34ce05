#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/metafile_header.h"

namespace quoinry::document {

// The lines of a report text without their line ends. CR LF ends a line; a lone CR or LF does too,
// so a report saved by another editor still reads line by line. The last line counts also without
// a line end; an empty text has no lines.
std::vector<std::string_view> SplitLines(std::string_view text);

// The lines of a report file (CP936 on disk), as UTF-8. Throws DocumentError naming the file
// when it is missing or cannot be read.
std::vector<std::string> ReadReportLines(const std::filesystem::path& file);

// The bytes of the section picture. Throws DocumentError naming the file when it is missing,
// cannot be read, or is not a Windows metafile.
std::string ReadSectionPicture(const std::filesystem::path& file);

using quoinry::IsWindowsMetafile;

}  // namespace quoinry::document
