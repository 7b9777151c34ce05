#include "cli/qt/database_session.h"

#include <iostream>

#include "common/calc_error.h"
#include "db/connection.h"
#include "db/database_error.h"
#include "db/location.h"

namespace quoinry::cli {

int ReportingErrors(std::string_view command, const std::function<int()>& body) {
    try {
        return body();
    } catch (const db::DatabaseError& e) {
        std::cerr << "quoinry " << command << ": " << e.description() << "\n";
    } catch (const CalcError& e) {
        std::cerr << "quoinry " << command << ": " << ErrorLine(e) << "\n";
    }
    return 1;
}

int WithDatabase(std::string_view command, const std::function<int(db::Connection&)>& body) {
    return ReportingErrors(command, [&] {
        db::Connection connection;
        connection.Open(db::ConfiguredLocation());
        return body(connection);
    });
}

}  // namespace quoinry::cli
