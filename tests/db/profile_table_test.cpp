#include "db/profile_table.h"

#include <cstdlib>

#include "common/calc_error.h"
#include "common/numbers.h"
#include "db/database_error.h"
#include "db/profile_columns.h"
#include "db/save_chunk.h"
#include "scratch_database.h"

namespace quoinry::db::testing {
namespace {

ProfileTexts SampleProfile(const std::string& series, const std::string& number) {
    return {series,
            number,
            {"85.5", "49.6", "1.4", "4.236", "70000", "36.418", "21.507", "9.872", "11.254",
             "8.603", "7.915", "6.128", "5.874", "4.962", "5.231"}};
}

const Bytes kPicture{0xD7, 0xCD, 0xC6, 0x9A, 0x00, 0x27, 0x3B, 0x0A, 0xFF};

std::vector<std::string> ShownTexts(const Connection& connection, const std::string& series,
                                    const std::string& number) {
    ResultSet set = OpenProfile(connection, series, number);
    std::vector<std::string> texts;
    if (set.AtEnd())
        return texts;
    for (int position = 0; position < kPicturePosition; ++position) {
        texts.push_back(set.Text(position).value_or("<NULL>"));
    }
    return texts;
}

std::vector<std::string> Expected(const ProfileTexts& profile) {
    std::vector<std::string> texts{profile.series, profile.number};
    texts.insert(texts.end(), profile.values.begin(), profile.values.end());
    return texts;
}

int ProfileCount(const Connection& connection) {
    return std::stoi(connection.Query("SELECT COUNT(*) FROM xc").Text(0).value_or("-1"));
}

// These tests start from an empty profile table rather than the sample library.
class ProfileTableTest : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (!IsSkipped())
            connection_.Execute("DELETE FROM xc");
    }
};

using SampleLibraryTest = DatabaseTest;

TEST_P(SampleLibraryTest, FreshDatabaseHoldsTheSampleProfiles) {
    EXPECT_EQ(ListSeries(connection_),
              (std::vector<std::string>{"60平开窗", "70推拉窗", "60中梃", "50平开门", "圆管"}));
    EXPECT_EQ(ListNumbers(connection_, "60平开窗"),
              (std::vector<std::string>{"KC60-01", "KC60-02"}));
    ResultSet record = OpenProfile(connection_, "60平开窗", "KC60-01");
    ASSERT_FALSE(record.AtEnd());
    EXPECT_EQ(record.Text(2), "85.4");
    EXPECT_EQ(record.Text(3), "49.6");
    EXPECT_EQ(record.Text(6), "70000");
    EXPECT_EQ(record.Column(17).ActualSize(),
              static_cast<std::int64_t>(ReadBytes(std::filesystem::path(QUOINRY_SOURCE_DIR) /
                                                  "data/profiles/kc60-frame.wmf")
                                            .size()));
}

TEST_P(ProfileTableTest, EmptyTableListsNothing) {
    EXPECT_TRUE(ListSeries(connection_).empty());
    EXPECT_TRUE(ListNumbers(connection_, "").empty());
    EXPECT_TRUE(OpenProfile(connection_, "", "").AtEnd());
}

TEST_P(ProfileTableTest, OBrienIsAddedShownChangedAndDeleted) {
    const ProfileTexts added = SampleProfile("O'Brien-50", "O'Brien-50");
    ASSERT_EQ(AddProfile(connection_, added, kPicture), WriteOutcome::kWritten);
    EXPECT_EQ(ListSeries(connection_), std::vector<std::string>{"O'Brien-50"});
    EXPECT_EQ(ListNumbers(connection_, "O'Brien-50"), std::vector<std::string>{"O'Brien-50"});
    EXPECT_EQ(ShownTexts(connection_, "O'Brien-50", "O'Brien-50"), Expected(added));

    ProfileTexts changed = SampleProfile("O'Brien-50", "O'Brien-50 \"B\"; 2");
    changed.values[0] = "90";
    ASSERT_EQ(ChangeProfile(connection_, "O'Brien-50", "O'Brien-50", changed),
              WriteOutcome::kWritten);
    EXPECT_EQ(ProfileCount(connection_), 1);
    EXPECT_TRUE(OpenProfile(connection_, "O'Brien-50", "O'Brien-50").AtEnd());
    EXPECT_EQ(ShownTexts(connection_, changed.series, changed.number), Expected(changed));
    ResultSet set = OpenProfile(connection_, changed.series, changed.number);
    EXPECT_EQ(std::get<Bytes>(set.Column(kPicturePosition).value()), kPicture);

    EXPECT_TRUE(DeleteProfile(connection_, changed.series, changed.number));
    EXPECT_EQ(ProfileCount(connection_), 0);
    EXPECT_TRUE(ListSeries(connection_).empty());
    EXPECT_FALSE(DeleteProfile(connection_, changed.series, changed.number));
}

TEST_P(ProfileTableTest, DuplicateSeriesAndNumberIsRefusedOnAddAndChange) {
    ASSERT_EQ(AddProfile(connection_, SampleProfile("50", "A"), kPicture), WriteOutcome::kWritten);
    ASSERT_EQ(AddProfile(connection_, SampleProfile("50", "B"), kPicture), WriteOutcome::kWritten);
    ProfileTexts again = SampleProfile("50", "A");
    again.values[0] = "1";
    EXPECT_EQ(AddProfile(connection_, again, {}), WriteOutcome::kDuplicate);
    // Onto another profile is refused; a profile keeps its own name with a changed value.
    EXPECT_EQ(ChangeProfile(connection_, "50", "B", again), WriteOutcome::kDuplicate);
    EXPECT_EQ(ShownTexts(connection_, "50", "A")[2], "85.5");
    EXPECT_EQ(ChangeProfile(connection_, "50", "A", again), WriteOutcome::kWritten);
    EXPECT_EQ(ProfileCount(connection_), 2);
    EXPECT_EQ(ShownTexts(connection_, "50", "A")[2], "1");
    EXPECT_EQ(ShownTexts(connection_, "50", "B")[2], "85.5");
}

TEST_P(ProfileTableTest, SchemaRefusesASecondRecordWithTheSameKey) {
    ASSERT_EQ(AddProfile(connection_, SampleProfile("50", "A"), kPicture), WriteOutcome::kWritten);
    EXPECT_THROW(connection_.Execute("INSERT INTO xc (xl, mc) VALUES (?, ?)",
                                     {std::string("50"), std::string("A")}),
                 DatabaseError);
    EXPECT_EQ(ProfileCount(connection_), 1);
}

TEST_P(ProfileTableTest, TextThatIsNotANumberStoresNothing) {
    ASSERT_EQ(AddProfile(connection_, SampleProfile("50", "A"), kPicture), WriteOutcome::kWritten);
    for (const char* bad : {"", "abc", "1,5", "0x10", "inf", "nan", "1e", "--1", "1.2.3"}) {
        for (std::size_t i : {std::size_t{0}, std::size_t{14}}) {
            ProfileTexts profile = SampleProfile("50", "B");
            profile.values[i] = bad;
            try {
                AddProfile(connection_, profile, kPicture);
                ADD_FAILURE() << "added with \"" << bad << "\"";
            } catch (const CalcError& e) {
                EXPECT_EQ(e.description(), "类型不匹配");
            }
            EXPECT_THROW(ChangeProfile(connection_, "50", "A", profile), CalcError) << bad;
        }
    }
    EXPECT_EQ(ListNumbers(connection_, "50"), std::vector<std::string>{"A"});
    EXPECT_EQ(ShownTexts(connection_, "50", "A"), Expected(SampleProfile("50", "A")));
}

TEST_P(ProfileTableTest, NumberColumnsReadAsTheirGeneralNumberText) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"70000", "70000"},
        {" 2.50 ", "2.5"},
        {"+0.1e1", "1"},
        {"0.30000000000000004", "0.3"},
        {"-0.00603", "-0.00603"},
        {"0.00001", "1E-05"},
        {"1e15", "1E+15"},
        {"123456789012345678", "1.23456789012346E+17"},
        {"0", "0"},
        {"-0", "0"},
        {"1.7976931348623157e308", "1.79769313486232E+308"},
    };
    ASSERT_LE(cases.size(), 15u);
    ProfileTexts profile = SampleProfile("数", "1");
    for (std::size_t i = 0; i < cases.size(); ++i) profile.values[i] = cases[i].first;
    ASSERT_EQ(AddProfile(connection_, profile, kPicture), WriteOutcome::kWritten);
    ResultSet set = OpenProfile(connection_, "数", "1");
    ASSERT_FALSE(set.AtEnd());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const int position = kFirstNumberPosition + static_cast<int>(i);
        EXPECT_EQ(set.Text(position), cases[i].second) << cases[i].first;
        // Stored exactly: the same double comes back.
        EXPECT_EQ(std::get<double>(set.Column(position).value()), ParseStrict(cases[i].first));
    }
}

TEST_P(ProfileTableTest, NumbersOfASeriesAreSortedByCodePoint) {
    for (const char* number : {"b", "B", "10", "9", "型", "a"}) {
        ASSERT_EQ(AddProfile(connection_, SampleProfile("S", number), {}), WriteOutcome::kWritten);
    }
    ASSERT_EQ(AddProfile(connection_, SampleProfile("R", "1"), {}), WriteOutcome::kWritten);
    EXPECT_EQ(ListNumbers(connection_, "S"),
              (std::vector<std::string>{"10", "9", "B", "a", "b", "型"}));
    EXPECT_EQ(ListSeries(connection_), (std::vector<std::string>{"S", "R"}));
}

TEST_P(ProfileTableTest, ChangeOfAProfileThatIsGoneRaisesNoCurrentRecord) {
    try {
        ChangeProfile(connection_, "50", "gone", SampleProfile("50", "new"));
        FAIL() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.number(), kNoCurrentRecordError);
    }
    EXPECT_EQ(ProfileCount(connection_), 0);
}

TEST_P(ProfileTableTest, DeleteThroughTheRecordSetRemovesOnlyThatRow) {
    ASSERT_EQ(AddProfile(connection_, SampleProfile("50", "A"), kPicture), WriteOutcome::kWritten);
    ASSERT_EQ(AddProfile(connection_, SampleProfile("50", "A;B"), kPicture),
              WriteOutcome::kWritten);
    ResultSet set = OpenProfile(connection_, "50", "A");
    set.DeleteCurrent();
    EXPECT_EQ(ListNumbers(connection_, "50"), std::vector<std::string>{"A;B"});
    set.MoveNext();
    try {
        set.DeleteCurrent();
        FAIL() << "deleted past the end";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.number(), kNoCurrentRecordError);
    }
    ResultSet read_only = connection_.Query("SELECT xl, mc FROM xc");
    EXPECT_THROW(read_only.DeleteCurrent(), DatabaseError);
}

TEST_P(ProfileTableTest, CrashInsideAChangeLeavesTheOldRecord) {
    ASSERT_EQ(AddProfile(connection_, SampleProfile("50", "old"), kPicture),
              WriteOutcome::kWritten);
    const Location location = scratch_->location();
    EXPECT_DEATH(
        {
            Connection other;
            other.Open(location);
            ProfileTexts changed = SampleProfile("50", "new");
            changed.values[0] = "1";
            ChangeProfile(other, "50", "old", changed, [] { std::abort(); });
        },
        "");
    Connection after;
    after.Open(location);
    EXPECT_EQ(ListNumbers(after, "50"), std::vector<std::string>{"old"});
    EXPECT_EQ(ShownTexts(after, "50", "old"), Expected(SampleProfile("50", "old")));
    // The table is not left locked.
    ASSERT_EQ(ChangeProfile(after, "50", "old", SampleProfile("50", "new")),
              WriteOutcome::kWritten);
    EXPECT_EQ(ListNumbers(connection_, "50"), std::vector<std::string>{"new"});
}

INSTANTIATE_TEST_SUITE_P(Backends, ProfileTableTest,
                         ::testing::Values(Backend::kSqlite, Backend::kPostgres), BackendName);
INSTANTIATE_TEST_SUITE_P(Backends, SampleLibraryTest,
                         ::testing::Values(Backend::kSqlite, Backend::kPostgres), BackendName);

}  // namespace
}  // namespace quoinry::db::testing
