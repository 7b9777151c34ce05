#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/ini_file.h"
#include "glass/glass_check.h"
#include "member/member_check.h"
#include "wind/wind_load.h"

namespace quoinry {

// What a design is about; no report prints it, the title block of its document does.
struct DesignInfo {
    std::string name;           // free text, such as the window's position number
    std::string project;        // the project's name
    std::string engineer;       // who designed it (设计)
    std::string checker = {};   // 校核
    std::string approver = {};  // 审核
    std::string date = {};      // of the calculation, as the engineer writes it

    bool operator==(const DesignInfo&) const = default;
};

// One window position: the inputs of the wind and glass window ([glass]) and of the member check
// window ([gj]), the profile the member uses and its section picture.
struct Design {
    DesignInfo info;
    std::string region;  // the wind and glass window's 待计算地区; only shown
    WindLoadInput wind;
    GlassInput glass;
    std::optional<MemberInput> member;  // present when the design has a [gj] section
    bool insulating_glass = false;      // what "下一步" sets: the glass category is insulating
    // The member profile's section picture, the bytes of a Windows metafile; empty when none.
    std::string picture;

    bool operator==(const Design&) const = default;
};

// The design in the settings sections of an info.ini-format file.
Design ReadDesign(const IniDocument& settings);

// An option is selected when its stored text is "True" in any letter case; restoring op1 and
// then op2 into exclusive options leaves only the second when both say so.
MinimumWkRule MinimumRuleOf(std::string_view op1, std::string_view op2);

// A design file that cannot be used; what() names the file and, where there is one, the line.
class DesignFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct DesignFileReading {
    Design design;
    // Texts for the user about lines that were ignored (unknown keys and sections, repeats).
    std::vector<std::string> warnings;
    bool legacy = false;  // today's INI design or an info.ini: no [design] section
};

// The design file format version this program writes and reads; newer ones are refused.
inline constexpr int kDesignFormat = 1;

// Reads a design file: the current format (UTF-8 with a [design] section), or a legacy design
// (an INI design or info.ini: CP936, or UTF-8 with or without a byte order mark, values cut to
// 127 CP936 bytes as the old profile functions read them). Throws DesignFileError for a file
// that is unreadable, of a newer format, or broken (a section header without "]", a header
// value or a picture that makes no sense); `file` only names it in messages for ParseDesignFile.
DesignFileReading ReadDesignFile(const std::filesystem::path& file);
DesignFileReading ParseDesignFile(std::string_view bytes, const std::filesystem::path& file);

// Where a design's text stands, for messages: a design inside another file (a position of a
// project file) is named by that file and its own line numbers.
struct DesignFilePlace {
    std::filesystem::path file;
    std::string noun = "设计文件";
    int first_line = 1;  // the file's line number of the text's first line
};
DesignFileReading ParseDesignFile(std::string_view bytes, const DesignFilePlace& place);

// The design in the current format: UTF-8, LF line ends, [design], [glass], [gj] (with a member)
// and [profile] with the picture in base64 lines.
std::string DesignFileText(const Design& design);

// Writes the design through a temporary file; when that fails the old file stays as it was and
// DesignFileError says why.
void SaveDesignFile(const std::filesystem::path& file, const Design& design);

}  // namespace quoinry
