#include "db/save_chunk.h"

#include <fstream>

#include "common/calc_error.h"
#include "db/database_error.h"
#include "db/profile_columns.h"
#include "db/profile_table.h"
#include "scratch_database.h"

namespace quoinry::db::testing {
namespace {

ProfileTexts Profile(const std::string& number) {
    ProfileTexts profile{"50", number, {}};
    profile.values.fill("1");
    return profile;
}

class SaveChunkTest : public DatabaseTest {
  protected:
    std::filesystem::path Target() const { return scratch_->folder() / "xc.wmf"; }

    void WriteTarget(const std::string& text) const { std::ofstream(Target()) << text; }

    Field Picture(const std::string& number) const {
        ResultSet set = OpenProfile(connection_, "50", number);
        return set.Column(kPicturePosition);
    }
};

TEST_P(SaveChunkTest, PictureComesBackByteForByteWhateverTheChunkSize) {
    const Bytes picture = ReadBytes(TestData("jscs-sample-pic-3.wmf"));
    ASSERT_EQ(picture.size(), 4900u);
    ASSERT_EQ(AddProfile(connection_, Profile("A"), picture), WriteOutcome::kWritten);
    for (std::int32_t chunk : {4900, 1000, 7, 1, 100000}) {
        WriteTarget("old content that must go");
        Field field = Picture("A");
        EXPECT_EQ(field.Attributes() & kLongDataAttribute, kLongDataAttribute);
        EXPECT_EQ(field.ActualSize(), 4900);
        SaveChunkToFile(field, Target(), chunk);
        EXPECT_EQ(ReadBytes(Target()), picture) << "chunk " << chunk;
    }
}

TEST_P(SaveChunkTest, EmptyPictureLeavesAnEmptyFile) {
    ASSERT_EQ(AddProfile(connection_, Profile("A"), {}), WriteOutcome::kWritten);
    connection_.Execute("INSERT INTO xc (xl, mc) VALUES (?, ?)",
                        {std::string("50"), std::string("NULL picture")});
    for (const char* number : {"A", "NULL picture"}) {
        WriteTarget("old");
        Field field = Picture(number);
        EXPECT_EQ(field.ActualSize(), 0);
        SaveChunkToFile(field, Target(), static_cast<std::int32_t>(field.ActualSize()));
        EXPECT_TRUE(std::filesystem::exists(Target()));
        EXPECT_EQ(std::filesystem::file_size(Target()), 0u) << number;
    }
}

TEST_P(SaveChunkTest, ColumnThatIsNotLongRaises1001AndLeavesTheFile) {
    ASSERT_EQ(AddProfile(connection_, Profile("A"), {1, 2, 3}), WriteOutcome::kWritten);
    ResultSet set = OpenProfile(connection_, "50", "A");
    for (int position : {0, 2, 16}) {
        WriteTarget("kept");
        Field field = set.Column(position);
        try {
            SaveChunkToFile(field, Target(), 100);
            ADD_FAILURE() << "position " << position << " was read in pieces";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.number(), 1001);
            EXPECT_EQ(e.description(), "Field doesn't support the GetChunk method.");
        }
        std::ifstream in(Target());
        std::string text;
        in >> text;
        EXPECT_EQ(text, "kept");
    }
}

TEST_P(SaveChunkTest, UnwritableFileIsAFileError) {
    ASSERT_EQ(AddProfile(connection_, Profile("A"), {1, 2, 3}), WriteOutcome::kWritten);
    Field field = Picture("A");
    try {
        SaveChunkToFile(field, scratch_->folder() / "no such folder" / "xc.wmf", 3);
        FAIL() << "no error";
    } catch (const CalcError& e) {
        EXPECT_EQ(e.description(), "路径/文件访问错误");
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, SaveChunkTest,
                         ::testing::Values(Backend::kSqlite, Backend::kPostgres), BackendName);

}  // namespace
}  // namespace quoinry::db::testing
