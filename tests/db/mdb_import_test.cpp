#include "db/mdb_import.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <set>
#include <tuple>

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

class MdbImportTest : public DatabaseTest {
  protected:
    // Every row of both tables, pictures included, in stored order.
    std::string Dump(const Connection& connection) const {
        std::string dump;
        for (const char* sql :
             {"SELECT station, city, wp50 FROM cs ORDER BY id", "SELECT * FROM xc ORDER BY id"}) {
            for (ResultSet set = connection.Query(sql); !set.AtEnd(); set.MoveNext()) {
                for (int i = 0; i < set.ColumnCount(); ++i) {
                    const Field field = set.Column(i);
                    const Value& value = field.value();
                    if (const auto* bytes = std::get_if<Bytes>(&value)) {
                        const std::string raw(bytes->begin(), bytes->end());
                        dump += std::to_string(raw.size()) + " bytes #" +
                                std::to_string(std::hash<std::string>{}(raw));
                    } else {
                        dump += ValueText(value).value_or("NULL");
                    }
                    dump += '\t';
                }
                dump += '\n';
            }
        }
        return dump;
    }

    // `bytes` as a file of the test.
    std::filesystem::path Variant(const Bytes& bytes) const {
        const auto file = scratch_->folder() / ("variant-" + std::to_string(++variants_) + ".mdb");
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    static Bytes Flipped(std::size_t offset) {
        Bytes bytes = ReadBytes(Sample());
        bytes.at(offset) ^= 0xFF;
        return bytes;
    }

    // The message of an import with --replace that must fail.
    std::string ImportError(const std::filesystem::path& file) const {
        try {
            ImportMdb(connection_, file, true);
        } catch (const DatabaseError& e) {
            return e.what();
        }
        ADD_FAILURE() << file << " imported";
        return {};
    }

    mutable int variants_ = 0;
};

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

TEST_P(MdbImportTest, WhatIsNoAccessFileIsNamedAndChangesNothing) {
    const std::string before = Dump(connection_);
    const auto fifo = scratch_->folder() / "pipe.mdb";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::pair<std::filesystem::path, std::string>> cases = {
        {TestData("jscs-sample.mdb.txt"), "不是 Access 数据库 (文件开头没有 Access 的标记)"},
        {TestData("missing.mdb"), "文件不存在"},
        {TestData(""), "不是普通文件"},
        {fifo, "不是普通文件"},
    };
    for (const auto& [file, reason] : cases) {
        EXPECT_EQ(ImportError(file), "无法读取Access文件 " + file.string() + ": " + reason);
    }
    EXPECT_EQ(Dump(connection_), before);
}

// Cuts inside the header, at page boundaries (4096 bytes) and beside them: pages 4/5 hold table cs,
// 6/7 table xc, 8 the picture of PK-5002, 9 and 10 the two-page picture of TL-7001.
TEST_P(MdbImportTest, TruncatedFileIsRefusedNamingTheTableAndRow) {
    const std::vector<std::pair<std::size_t, std::string>> cases = {
        {0, "不是 Access 数据库 (文件开头没有 Access 的标记)"},
        {19, "不是 Access 数据库 (文件开头没有 Access 的标记)"},
        // The version at byte 20 is cut off: libmdb takes the older format's pages.
        {20, "文件长度 20 字节不是整页 (每页 2048 字节): 文件不完整"},
        {4095, "文件长度 4095 字节不是整页 (每页 4096 字节): 文件不完整"},
        {4096, "Access 数据库中没有表 cs"},
        {4097, "文件长度 4097 字节不是整页 (每页 4096 字节): 文件不完整"},
        {16384, "Access 数据库中没有表 cs"},
        {20480, "表 cs 记着 11 行, 只读到 0 行 (文件不完整或已损坏)"},
        {24576, "Access 数据库中没有表 xc"},
        {28672, "表 xc 记着 4 行, 只读到 0 行 (文件不完整或已损坏)"},
        {32768, "表 xc 第 2 行第 18 列的图片应有 1060 字节"},
        {36864, "表 xc 第 3 行第 18 列的图片应有 4900 字节, 读到 4092 字节"},
        {40960, "表 xc 第 3 行第 18 列的图片应有 4900 字节"},
        {45055, "文件长度 45055 字节不是整页 (每页 4096 字节): 文件不完整"},
    };
    const std::string before = Dump(connection_);
    const Bytes sample = ReadBytes(Sample());
    for (const auto& [size, reason] : cases) {
        const auto file = Variant(Bytes(sample.begin(), sample.begin() + size));
        const std::string error = ImportError(file);
        EXPECT_EQ(error.rfind("无法读取Access文件 " + file.string() + ": " + reason, 0), 0u)
            << size << ": " << error;
        EXPECT_EQ(Dump(connection_), before) << size;
    }
}

// Offset 55 of a table definition page: libmdb 1.0 dies of a segmentation fault on it.
TEST_P(MdbImportTest, CrashInsideLibmdbIsAMessageAndChangesNothing) {
    const std::string before = Dump(connection_);
    for (const std::size_t offset : {8247u, 16439u, 24631u}) {
        const auto file = Variant(Flipped(offset));
        EXPECT_EQ(ImportError(file), "无法读取Access文件 " + file.string() + " (文件已损坏)")
            << offset;
    }
    EXPECT_EQ(Dump(connection_), before);
}

// xc's definition (page 6) states its row count at offset 16, its data page (7) at offset 12.
TEST_P(MdbImportTest, EmptyProfileTableReplacesOnlyWhenTheFileStatesNoRows) {
    const std::string before = Dump(connection_);
    Bytes rows_gone = ReadBytes(Sample());
    rows_gone[7 * 4096 + 12] = 0;
    EXPECT_NE(ImportError(Variant(rows_gone)).find(": 表 xc 记着 4 行, 只读到 0 行"),
              std::string::npos);
    EXPECT_EQ(Dump(connection_), before);

    Bytes empty = rows_gone;
    empty[6 * 4096 + 16] = 0;
    const ImportCounts counts = ImportMdb(connection_, Variant(empty), true);
    EXPECT_EQ(counts.stations, 11);
    EXPECT_EQ(counts.profiles, 0);
    EXPECT_TRUE(ListSeries(connection_).empty());
}

TEST_P(MdbImportTest, SameProfileTwiceIsRefusedNamingBothRows) {
    // Row 2's number PK-5002 (UCS-2 in the row) becomes PK-5001.
    Bytes twice = ReadBytes(Sample());
    Bytes pk5002;
    for (const char c : std::string_view("PK-5002"))
        pk5002.insert(pk5002.end(), {std::uint8_t(c), 0});
    const auto at = std::search(twice.begin(), twice.end(), pk5002.begin(), pk5002.end());
    ASSERT_NE(at, twice.end());
    *(at + 12) = '1';
    const std::string before = Dump(connection_);
    const auto file = Variant(twice);
    EXPECT_EQ(ImportError(file), "无法读取Access文件 " + file.string() +
                                     ": 表 xc 第 2 行与第 1 行是同一个型材: 50系列平开窗 PK-5001");
    EXPECT_EQ(Dump(connection_), before);
}

// `from` (UCS-2 in the file) replaced by `to`, which has as many characters.
Bytes Replaced(const std::u16string& from, const std::u16string& to) {
    Bytes bytes = ReadBytes(Sample());
    Bytes wanted;
    for (const char16_t c : from)
        wanted.insert(wanted.end(), {std::uint8_t(c & 0xFF), std::uint8_t(c >> 8)});
    const auto at = std::search(bytes.begin(), bytes.end(), wanted.begin(), wanted.end());
    EXPECT_NE(at, bytes.end());
    for (std::size_t i = 0; i < to.size() && at != bytes.end(); ++i) {
        *(at + static_cast<std::ptrdiff_t>(2 * i)) = std::uint8_t(to[i] & 0xFF);
        *(at + static_cast<std::ptrdiff_t>(2 * i + 1)) = std::uint8_t(to[i] >> 8);
    }
    return bytes;
}

// Rows the windows could not use are refused, naming table, row and column; nothing is stored.
// A station without data (an empty text, as the sample's 无数据) is no such row.
TEST_P(MdbImportTest, UnusableRowsAreRefusedNamingTableAndRow) {
    const std::vector<std::tuple<std::u16string, std::u16string, std::string>> cases = {
        {u"750", u"7x0", "表 cs 第 6 行: 基本风压(wp50)“7x0”不是正数"},
        {u"750", u"-75", "表 cs 第 6 行: 基本风压(wp50)“-75”不是正数"},
        {u"750", u"   ", "表 cs 第 6 行: 基本风压(wp50)只有空格"},
        {u"750",
         u"7\x01"
         u"0",
         "表 cs 第 6 行: 基本风压(wp50)“7\uFFFD0”不是正数"},
        {u"深圳市",
         u"深\x1B"
         u"市",
         "表 cs 第 6 行: 城市(city)含有控制字符或不是文字的字节"},
        {u"深圳市",
         u"深\xFFFF"
         u"市",
         "表 cs 第 6 行: 城市(city)含有控制字符或不是文字的字节"},
        {u"PK-5002", u"       ", "表 xc 第 2 行: 没有型材编号(mc)"},
        {u"PK-5002", u"PK\n5002", "表 xc 第 2 行: 型材编号(mc)含有控制字符或不是文字的字节"},
    };
    const std::string before = Dump(connection_);
    for (const auto& [from, to, message] : cases) {
        const auto file = Variant(Replaced(from, to));
        EXPECT_EQ(ImportError(file), "无法读取Access文件 " + file.string() + ": " + message);
        EXPECT_EQ(Dump(connection_), before);
    }
}

// Positions spread evenly over the sample file: 250 for every
// test run; scripts/mdb-fault-sweep.sh sets QUOINRY_MDB_SWEEP=1000.
std::vector<std::size_t> SweepPositions(std::size_t file_size) {
    const char* wanted = std::getenv("QUOINRY_MDB_SWEEP");
    std::size_t count = 250;
    if (wanted != nullptr && *wanted != '\0')
        count = std::stoul(wanted);
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < count; ++i) positions.push_back(i * file_size / count);
    return positions;
}

// Sizes of the pictures of the four sample profiles, NULL as 0.
std::multiset<std::size_t> PictureSizes(const Connection& connection) {
    std::multiset<std::size_t> sizes;
    for (ResultSet set = connection.Query("SELECT pic FROM xc"); !set.AtEnd(); set.MoveNext())
        sizes.insert(static_cast<std::size_t>(set.Column(0).ActualSize()));
    return sizes;
}

TEST_P(MdbImportTest, NoCutOrFlippedFileCrashesOrChangesTheDatabaseUnlessWhole) {
    const Bytes sample = ReadBytes(Sample());
    ImportMdb(connection_, Sample(), true);
    const std::string whole = Dump(connection_);
    int refused = 0;
    int imported = 0;
    int changed = 0;  // imported whole, but a flipped byte changed a text, number or picture
    for (const std::size_t position : SweepPositions(sample.size())) {
        Bytes flipped = sample;
        flipped[position] ^= 0xFF;
        for (const Bytes& bytes : {Bytes(sample.begin(), sample.begin() + position), flipped}) {
            const std::string before = Dump(connection_);
            const auto file = Variant(bytes);
            try {
                const ImportCounts counts = ImportMdb(connection_, file, true);
                ++imported;
                EXPECT_EQ(counts.stations, 11) << position;
                EXPECT_EQ(counts.profiles, 4) << position;
                EXPECT_EQ(PictureSizes(connection_),
                          (std::multiset<std::size_t>{0, 148, 1060, 4900}))
                    << position;
                changed += Dump(connection_) != whole;
            } catch (const DatabaseError& e) {
                ++refused;
                EXPECT_EQ(std::string(e.what()).rfind("无法读取Access文件 " + file.string(), 0), 0u)
                    << position << ": " << e.what();
                EXPECT_EQ(Dump(connection_), before) << position << ": " << e.what();
            }
            std::filesystem::remove(file);
        }
    }
    std::cout << "cut or flipped files: " << refused << " refused, " << imported
              << " imported whole (" << changed << " of them with a changed value)\n";
}

INSTANTIATE_TEST_SUITE_P(Backends, MdbImportTest,
                         ::testing::Values(Backend::kSqlite, Backend::kPostgres), BackendName);

}  // namespace
}  // namespace quoinry::db::testing
