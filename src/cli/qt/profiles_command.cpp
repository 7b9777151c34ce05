#include <filesystem>
#include <iostream>

#include "cli/qt/database_session.h"
#include "cli/qt/qt_commands.h"
#include "db/profile_columns.h"
#include "db/profile_table.h"
#include "db/save_chunk.h"

namespace quoinry::cli {
namespace {

constexpr const char* kUsage =
    "usage: quoinry profiles [SERIES [NUMBER [--picture FILE]]]\n"
    "  no argument: the series; SERIES: its numbers;\n"
    "  SERIES NUMBER: the values of positions 2 to 16, one position=text line each;\n"
    "  --picture FILE writes the section picture's bytes to FILE\n";

int ShowProfile(const db::Connection& connection, const std::string& series,
                const std::string& number, const std::string& picture_file) {
    db::ResultSet set = db::OpenProfile(connection, series, number);
    if (set.AtEnd()) {
        std::cerr << "quoinry profiles: 没有型材 " << series << " " << number << "\n";
        return 1;
    }
    for (int position = db::kFirstNumberPosition; position < db::kPicturePosition; ++position) {
        std::cout << position << "=" << set.Text(position).value_or("") << "\n";
    }
    if (!picture_file.empty()) {
        db::Field picture = set.Column(db::kPicturePosition);
        db::SaveChunkToFile(picture, picture_file, static_cast<std::int32_t>(picture.ActualSize()));
    }
    return 0;
}

}  // namespace

int ProfilesCommand(const std::vector<std::string>& args) {
    std::vector<std::string> names;
    std::string picture_file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--picture" && i + 1 < args.size()) {
            picture_file = args[++i];
        } else if (args[i].starts_with("--")) {
            std::cerr << kUsage;
            return args[i] == "--help" ? 0 : 2;
        } else {
            names.push_back(args[i]);
        }
    }
    if (names.size() > 2 || (!picture_file.empty() && names.size() != 2)) {
        std::cerr << kUsage;
        return 2;
    }
    return WithDatabase("profiles", [&](db::Connection& connection) {
        if (names.size() == 2)
            return ShowProfile(connection, names[0], names[1], picture_file);
        const auto items =
            names.empty() ? db::ListSeries(connection) : db::ListNumbers(connection, names[0]);
        for (const std::string& item : items) std::cout << item << "\n";
        return 0;
    });
}

}  // namespace quoinry::cli
