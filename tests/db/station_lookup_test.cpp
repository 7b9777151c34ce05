#include "db/station_lookup.h"

#include <algorithm>
#include <set>

#include "db/station_table.h"
#include "scratch_database.h"

namespace quoinry::db::testing {
namespace {

TEST(BuiltInStations, KeepsRowsWithPressureAndNoFlagInTheCodesOrder) {
    const auto& stations = BuiltInStations();
    ASSERT_EQ(stations.size(), 587u);
    EXPECT_EQ(stations.front().region, "北京");
    EXPECT_EQ(stations.front().city, "北京市");
    EXPECT_EQ(stations.front().wp50, "450");
    for (const Station& s : stations) {
        EXPECT_FALSE(s.city == "泰安市泰山" || s.city == "屏边") << s.city << " is flagged";
    }
}

TEST(BuiltInStations, ParsesPressuresExactlyAndSkipsRowsWithoutThem) {
    const auto stations = ParseStationTable(
        "province\tcity\taltitude_m\tw10\tw50\tw100\tnote\n"
        "甲\tA\t1\t0.30\t0.45\t0.50\t\n"
        "甲\tB\t1\t\t\t\twind printed '-' (no data) in source\n"
        "乙\tC\t1\t0.9\t1.05\t1.2\tFLAG: odd\n"
        "乙\tD\t1\t0.9\t1.3\t1.4\r\n"
        "乙\tE\t1\t0.9\t2\t1.4\n");
    ASSERT_EQ(stations.size(), 3u);
    EXPECT_EQ(stations[0].wp50, "450");
    EXPECT_EQ(stations[1].city, "D");
    EXPECT_EQ(stations[1].wp50, "1300");
    EXPECT_EQ(stations[2].wp50, "2000");
}

using StationLookupTest = DatabaseTest;

TEST_P(StationLookupTest, RegionsAreDistinctInTheOrderOfTheirFirstStation) {
    const auto regions = ListRegions(connection_);
    ASSERT_EQ(regions.size(), 34u);
    EXPECT_EQ(std::set<std::string>(regions.begin(), regions.end()).size(), regions.size());
    const std::vector<std::string> first{"北京", "天津", "上海", "重庆", "河北", "山西"};
    EXPECT_TRUE(std::equal(first.begin(), first.end(), regions.begin()));
    EXPECT_EQ(regions.back(), "澳门");
}

TEST_P(StationLookupTest, CitiesComeInTableOrderWithTheirPressure) {
    const auto cities = ListCities(connection_, "广东");
    ASSERT_FALSE(cities.empty());
    EXPECT_EQ(cities.front(), "广州市");
    EXPECT_EQ(BasicWindPressure(connection_, "广东", cities.front()), "500");
    EXPECT_EQ(BasicWindPressure(connection_, "广东", "深圳市"), "750");
    // Table order, not code point order: 南雄 follows 广州市 in the code.
    EXPECT_EQ(cities[1], "南雄");
}

TEST_P(StationLookupTest, UnknownRegionOrCityFindsNothing) {
    EXPECT_TRUE(ListCities(connection_, "广东省").empty());
    EXPECT_TRUE(ListCities(connection_, "").empty());
    EXPECT_EQ(BasicWindPressure(connection_, "广东", "北京市"), std::nullopt);
}

TEST_P(StationLookupTest, RegionLosingItsLastStationDisappears) {
    connection_.Execute("DELETE FROM cs WHERE station = ?", {std::string("澳门")});
    const auto regions = ListRegions(connection_);
    EXPECT_EQ(std::count(regions.begin(), regions.end(), "澳门"), 0);
    EXPECT_TRUE(ListCities(connection_, "澳门").empty());
}

TEST_P(StationLookupTest, NamesWithQuotesAndSemicolonsAreMatchedAsTheyAre) {
    const std::vector<std::pair<std::string, std::string>> names{
        {"O'Brien", "St. John's"},
        {"say \"hi\"", "a;b"},
        {"x'; DROP TABLE cs; --", "y\" OR \"1\"=\"1"},
        {"back\\slash'", "%_*"},
    };
    int pressure = 100;
    for (const auto& [region, city] : names) {
        connection_.Execute("INSERT INTO cs (station, city, wp50) VALUES (?, ?, ?)",
                            {region, city, std::to_string(pressure++)});
    }
    const auto regions = ListRegions(connection_);
    ASSERT_EQ(regions.size(), 34u + names.size());
    pressure = 100;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto& [region, city] = names[i];
        EXPECT_EQ(regions[34 + i], region);
        EXPECT_EQ(ListCities(connection_, region), std::vector<std::string>{city});
        EXPECT_EQ(BasicWindPressure(connection_, region, city), std::to_string(pressure++));
    }
    EXPECT_EQ(ListCities(connection_, "%").size(), 0u);
}

TEST_P(StationLookupTest, MissingPressureReadsAsEmptyText) {
    connection_.Execute("INSERT INTO cs (station, city) VALUES (?, ?)",
                        {std::string("测试"), std::string("无数据")});
    EXPECT_EQ(BasicWindPressure(connection_, "测试", "无数据"), "");
}

INSTANTIATE_TEST_SUITE_P(Backends, StationLookupTest,
                         ::testing::Values(Backend::kSqlite, Backend::kPostgres), BackendName);

}  // namespace
}  // namespace quoinry::db::testing
