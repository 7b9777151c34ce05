#include "shell/whole_profile.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/database_profile_library.h"
#include "db/location.h"
#include "db/profile_table.h"
#include "design/input_fields.h"
#include "design/library_profile.h"

namespace quoinry::shell {
namespace {

// The first number of the library's first series; nothing when the library is empty or cannot
// be read.
std::optional<std::pair<std::string, std::string>> FirstProfile() {
    try {
        db::Connection connection;
        connection.Open(db::ConfiguredLocation());
        for (const std::string& series : db::ListSeries(connection)) {
            const std::vector<std::string> numbers = db::ListNumbers(connection, series);
            if (!numbers.empty())
                return std::pair(series, numbers.front());
        }
    } catch (const std::exception&) {  // DatabaseError, CalcError: no library, no default
    }
    return std::nullopt;
}

}  // namespace

void MakeProfileWhole(Design& design) {
    if (!design.member)
        return;
    MemberInput& member = *design.member;
    db::DatabaseProfileLibrary library;
    std::array<bool, kLibraryProfileFieldCount> all;
    all.fill(true);
    LibraryLookup found;
    if (member.section_drawing.empty() && (!member.series.empty() || !member.number.empty()))
        found = library.Find(member.series, member.number);
    if (!found.profile) {
        if (const auto first = FirstProfile()) {
            found = library.Find(first->first, first->second);
            member.series = first->first;
            member.number = first->second;
        }
    }
    if (found.profile) {
        ApplyLibraryProfile(design, *found.profile, all);
        return;
    }
    member.series.clear();
    member.number.clear();
    member.section_drawing.clear();
    for (const LibraryProfileField& field : LibraryProfileFields())
        SetFieldText(design, *FindInputField("gj", field.key), "");
    design.picture.clear();
}

}  // namespace quoinry::shell
