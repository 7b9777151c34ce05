#include <iostream>

#include "cli/qt/database_session.h"
#include "cli/qt/qt_commands.h"
#include "db/station_lookup.h"

namespace quoinry::cli {

// quoinry stations: the regions. quoinry stations REGION: its cities, each with its wp50.
int StationsCommand(const std::vector<std::string>& args) {
    if (args.size() > 1 || (args.size() == 1 && args[0].starts_with("-"))) {
        std::cerr << "usage: quoinry stations [REGION]\n";
        return args.size() == 1 && args[0] == "--help" ? 0 : 2;
    }
    return WithDatabase("stations", [&](db::Connection& connection) {
        if (args.empty()) {
            for (const std::string& region : db::ListRegions(connection)) {
                std::cout << region << "\n";
            }
            return 0;
        }
        for (const std::string& city : db::ListCities(connection, args[0])) {
            const auto wp50 = db::BasicWindPressure(connection, args[0], city);
            std::cout << city << "\t" << wp50.value_or("") << "\n";
        }
        return 0;
    });
}

}  // namespace quoinry::cli
