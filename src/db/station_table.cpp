#include "db/station_table.h"

#include <stdexcept>

#include "db/station_table_data.h"
#include "db/tab_fields.h"

namespace quoinry::db {
namespace {

// "0.45" (kN/m²) -> "450" (Pa), exactly, without going through binary fractions.
std::string WholePascals(std::string_view kilo) {
    const auto point = kilo.find('.');
    const std::string_view whole = kilo.substr(0, point);
    std::string fraction(point == std::string_view::npos ? "" : kilo.substr(point + 1));
    if (fraction.size() > 3 || whole.empty()) {
        throw std::logic_error("station table: pressure " + std::string(kilo));
    }
    fraction.resize(3, '0');
    const long pascals = std::stol(std::string(whole)) * 1000 + std::stol(fraction);
    return std::to_string(pascals);
}

}  // namespace

std::vector<Station> ParseStationTable(std::string_view tsv) {
    enum Column { kProvince, kCity, kAltitude, kW10, kW50, kW100, kNote };
    std::vector<Station> stations;
    bool header = true;
    while (!tsv.empty()) {
        const auto end = tsv.find('\n');
        std::string_view line = tsv.substr(0, end);
        tsv.remove_prefix(end == std::string_view::npos ? tsv.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (header || line.empty()) {
            header = false;
            continue;
        }
        const auto fields = SplitTabs(line);
        if (fields.size() <= kW50)
            continue;
        const std::string_view w50 = fields[kW50];
        const std::string_view note = fields.size() > kNote ? fields[kNote] : "";
        if (w50.empty() || w50 == "-" || note.starts_with("FLAG"))
            continue;
        stations.push_back(
            {std::string(fields[kProvince]), std::string(fields[kCity]), WholePascals(w50)});
    }
    return stations;
}

const std::vector<Station>& BuiltInStations() {
    static const std::vector<Station> stations = ParseStationTable(StationTableTsv());
    return stations;
}

}  // namespace quoinry::db
