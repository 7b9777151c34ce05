#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/qt/database_session.h"
#include "cli/qt/qt_commands.h"
#include "db/connection.h"
#include "db/database_error.h"
#include "db/location.h"
#include "db/mdb_import.h"
#include "db/schema.h"

namespace quoinry::cli {
namespace {

constexpr const char* kUsage =
    "usage: quoinry db init [--force]\n"
    "         create the configured database with the built-in stations and no profiles;\n"
    "         --force rebuilds an existing one (its profiles are lost)\n"
    "       quoinry db import-mdb FILE [--replace]\n"
    "         copy tables cs and xc of an Access jscs.mdb; --replace empties both first\n";

bool TakeFlag(std::vector<std::string>& args, const std::string& flag) {
    const auto before = args.size();
    std::erase(args, flag);
    return args.size() != before;
}

int Init(bool force) {
    return ReportingErrors("db init", [&] {
        const db::Location location = db::ConfiguredLocation();
        const auto* file = std::get_if<db::SqliteFile>(&location);
        if (force && file != nullptr && std::filesystem::exists(file->file)) {
            std::error_code error;
            if (!std::filesystem::remove(file->file, error)) {
                throw db::DatabaseError("无法删除 " + file->file.string() + ": " + error.message());
            }
        }
        db::Connection connection;
        if (!connection.Open(location)) {
            if (!force) {
                throw db::DatabaseError("数据库已存在: " + db::DescribeLocation(location) +
                                        " (重建请加 --force)");
            }
            db::RebuildSchema(connection);
        }
        std::cout << "已建立数据库: " << db::DescribeLocation(location) << "\n";
        return 0;
    });
}

int ImportMdb(const std::string& file, bool replace) {
    return WithDatabase("db import-mdb", [&](db::Connection& connection) {
        const db::ImportCounts counts = db::ImportMdb(connection, file, replace);
        std::cout << "cs\t" << counts.stations << "\n"
                  << "xc\t" << counts.profiles << "\n";
        return 0;
    });
}

}  // namespace

int DbCommand(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    if (args.empty() || args[0] == "--help") {
        std::cerr << kUsage;
        return args.empty() ? 2 : 0;
    }
    const std::string action = args[0];
    args.erase(args.begin());
    if (action == "init") {
        const bool force = TakeFlag(args, "--force");
        if (args.empty())
            return Init(force);
    } else if (action == "import-mdb") {
        const bool replace = TakeFlag(args, "--replace");
        if (args.size() == 1 && !args[0].starts_with("-"))
            return ImportMdb(args[0], replace);
    }
    std::cerr << kUsage;
    return 2;
}

}  // namespace quoinry::cli
