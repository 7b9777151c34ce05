#include "db/mdb_import.h"

#include <cstring>

#include "db/database_error.h"
#include "db/profile_columns.h"
#include "db/profile_table.h"
#include "db/station_lookup.h"
#include "scratch_database.h"

namespace quoinry::db::testing {
namespace {

std::filesystem::path Sample() {
    return TestData("jscs-sample.mdb");
}

std::uint64_t Bits(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

using MdbImportTest = DatabaseTest;

TEST_P(MdbImportTest, RefusesToMixIntoTheBuiltInStations) {
    const std::vector<std::string> series = ListSeries(connection_);
    try {
        ImportMdb(connection_, Sample(), false);
        FAIL() << "imported into a non-empty table";
    } catch (const DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("--replace"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ListRegions(connection_).size(), 34u);
    EXPECT_EQ(ListSeries(connection_), series);
}

TEST_P(MdbImportTest, CopiesStationsAsTexts) {
    const ImportCounts counts = ImportMdb(connection_, Sample(), true);
    EXPECT_EQ(counts.stations, 11);
    EXPECT_EQ(counts.profiles, 4);
    EXPECT_EQ(ListRegions(connection_),
              (std::vector<std::string>{"北京", "天津", "上海", "广东", "浙江", "测试"}));
    EXPECT_EQ(ListCities(connection_, "广东"),
              (std::vector<std::string>{"广州市", "深圳市", "汕头市"}));
    EXPECT_EQ(BasicWindPressure(connection_, "广东", "深圳市"), "750");
    EXPECT_EQ(BasicWindPressure(connection_, "测试", "O'Hare"), "600");
    EXPECT_EQ(BasicWindPressure(connection_, "测试", "无数据"), "");
}

TEST_P(MdbImportTest, CopiesProfilesExactlyWithTheirPictures) {
    ImportMdb(connection_, Sample(), true);
    EXPECT_EQ(ListSeries(connection_), (std::vector<std::string>{"50系列平开窗", "70系列推拉窗"}));
    EXPECT_EQ(ListNumbers(connection_, "70系列推拉窗"),
              (std::vector<std::string>{"TL-7001", "TL-7002"}));

    ResultSet set = OpenProfile(connection_, "70系列推拉窗", "TL-7001");
    ASSERT_FALSE(set.AtEnd());
    // Stored bits of q5, q15 and q16 (mdbtools prints the last two with a stray last digit).
    EXPECT_EQ(Bits(std::get<double>(set.Column(5).value())), 0x401b5e353f7ced91u);
    EXPECT_EQ(Bits(std::get<double>(set.Column(15).value())), 0x4020410624dd2f1bu);
    EXPECT_EQ(Bits(std::get<double>(set.Column(16).value())), 0x4021516872b020c5u);
    EXPECT_EQ(set.Text(15), "8.127");
    EXPECT_EQ(set.Text(6), "70000");

    const std::vector<std::pair<std::string, std::string>> pictures{
        {"PK-5001", "jscs-sample-pic-1.wmf"},
        {"PK-5002", "jscs-sample-pic-2.wmf"},
    };
    for (const auto& [number, file] : pictures) {
        ResultSet profile = OpenProfile(connection_, "50系列平开窗", number);
        EXPECT_EQ(std::get<Bytes>(profile.Column(kPicturePosition).value()),
                  ReadBytes(TestData(file)))
            << number;
    }
    EXPECT_EQ(std::get<Bytes>(set.Column(kPicturePosition).value()),
              ReadBytes(TestData("jscs-sample-pic-3.wmf")));
    ResultSet without = OpenProfile(connection_, "70系列推拉窗", "TL-7002");
    EXPECT_EQ(without.Column(kPicturePosition).ActualSize(), 0);
}

TEST_P(MdbImportTest, SecondImportWithoutReplaceChangesNothing) {
    ImportMdb(connection_, Sample(), true);
    EXPECT_THROW(ImportMdb(connection_, Sample(), false), DatabaseError);
    EXPECT_EQ(ListCities(connection_, "广东").size(), 3u);
    EXPECT_EQ(ListNumbers(connection_, "50系列平开窗").size(), 2u);
}

TEST_P(MdbImportTest, FileThatIsNoAccessDatabaseIsAClearError) {
    EXPECT_THROW(ImportMdb(connection_, TestData("jscs-sample.mdb.txt"), true), DatabaseError);
    EXPECT_THROW(ImportMdb(connection_, TestData("missing.mdb"), true), DatabaseError);
    EXPECT_EQ(ListRegions(connection_).size(), 34u);
}

INSTANTIATE_TEST_SUITE_P(Backends, MdbImportTest,
                         ::testing::Values(Backend::kSqlite, Backend::kPostgres), BackendName);

}  // namespace
}  // namespace quoinry::db::testing
