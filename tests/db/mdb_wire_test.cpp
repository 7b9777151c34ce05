#include "db/mdb_wire.h"

#include <gtest/gtest.h>

namespace quoinry::db {
namespace {

std::vector<Value> Texts(std::initializer_list<const char*> texts) {
    std::vector<Value> row;
    for (const char* text : texts) row.emplace_back(std::string(text));
    return row;
}

MdbTables TwoOfEach() {
    MdbTables tables;
    tables.stations.push_back(Texts({"广东", "深圳市", "750"}));
    tables.stations.push_back(Texts({"", "O'Hare", ""}));
    std::vector<Value> profile = Texts({"50系列", "PK-1"});
    for (int i = 0; i < 15; ++i) {
        if (i % 2 == 0) {
            profile.emplace_back(i + 0.5);
        } else {
            profile.emplace_back(std::monostate{});
        }
    }
    profile.emplace_back(Bytes{0xD7, 0xCD, 0x00, 0x9A});
    tables.profiles.push_back(profile);
    profile.back() = std::monostate{};
    tables.profiles.push_back(profile);
    return tables;
}

TEST(MdbWire, TablesComeBackAsTheyWent) {
    const MdbTables tables = TwoOfEach();
    const MdbTables back = DecodeMdbTables(EncodeMdbTables(tables));
    EXPECT_EQ(back.stations, tables.stations);
    EXPECT_EQ(back.profiles, tables.profiles);
    EXPECT_TRUE(DecodeMdbTables(EncodeMdbTables({})).profiles.empty());
}

TEST(MdbWire, EveryCutAndEveryChangedTagIsRefused) {
    const std::string bytes = EncodeMdbTables(TwoOfEach());
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        EXPECT_THROW(DecodeMdbTables(bytes.substr(0, size)), std::invalid_argument) << size;
    }
    EXPECT_THROW(DecodeMdbTables(bytes + '\0'), std::invalid_argument) << "a byte too many";
    // A station's text where a number belongs, and a count beyond the bytes.
    MdbTables wrong = TwoOfEach();
    wrong.profiles[0][2] = std::string("85.5");
    EXPECT_THROW(DecodeMdbTables(EncodeMdbTables(wrong)), std::invalid_argument);
    wrong = TwoOfEach();
    wrong.stations[0][2] = 750.0;
    EXPECT_THROW(DecodeMdbTables(EncodeMdbTables(wrong)), std::invalid_argument);
    std::string huge_count = bytes;
    huge_count[5 + 7] = '\x7F';  // highest byte of the station count
    EXPECT_THROW(DecodeMdbTables(huge_count), std::invalid_argument);
}

}  // namespace
}  // namespace quoinry::db
