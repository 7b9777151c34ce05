#include "db/mdb_wire.h"

#include <cstdint>
#include <cstring>

#include "db/profile_columns.h"

namespace quoinry::db {
namespace {

constexpr std::string_view kMagic = "QMDB1";
constexpr int kProfileColumns = kPicturePosition + 1;

enum Tag : std::uint8_t { kNull = 0, kInteger = 1, kDouble = 2, kText = 3, kBytes = 4 };

void PutU64(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutLength(std::string& out, std::size_t length) {
    PutU64(out, length);
}

void PutValue(std::string& out, const Value& value) {
    struct Visitor {
        std::string& out;
        void operator()(std::monostate) const { out.push_back(kNull); }
        void operator()(std::int64_t v) const {
            out.push_back(kInteger);
            PutU64(out, static_cast<std::uint64_t>(v));
        }
        void operator()(double v) const {
            std::uint64_t bits;
            std::memcpy(&bits, &v, sizeof bits);
            out.push_back(kDouble);
            PutU64(out, bits);
        }
        void operator()(const std::string& v) const {
            out.push_back(kText);
            PutLength(out, v.size());
            out += v;
        }
        void operator()(const Bytes& v) const {
            out.push_back(kBytes);
            PutLength(out, v.size());
            out.append(reinterpret_cast<const char*>(v.data()), v.size());
        }
    };
    std::visit(Visitor{out}, value);
}

void PutTable(std::string& out, const std::vector<std::vector<Value>>& rows) {
    PutLength(out, rows.size());
    for (const auto& row : rows) {
        for (const Value& value : row) PutValue(out, value);
    }
}

// Reads from the front of the bytes; every read checks that the bytes are there.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool AtEnd() const { return bytes_.empty(); }
    std::size_t Left() const { return bytes_.size(); }

    std::string_view Take(std::size_t count) {
        if (count > bytes_.size())
            throw std::invalid_argument("cut short");
        const std::string_view taken = bytes_.substr(0, count);
        bytes_.remove_prefix(count);
        return taken;
    }

    std::uint64_t U64() {
        const std::string_view raw = Take(8);
        std::uint64_t value = 0;
        for (int i = 7; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(raw[i]);
        return value;
    }

    std::uint8_t Tag() { return static_cast<std::uint8_t>(Take(1).front()); }

  private:
    std::string_view bytes_;
};

// Which tags a column may hold: bit 1 << tag.
using Allowed = unsigned;

constexpr Allowed Bit(Tag tag) {
    return 1u << tag;
}

Value TakeValue(Reader& reader, Allowed allowed) {
    const std::uint8_t tag = reader.Tag();
    if (tag > kBytes || (allowed & (1u << tag)) == 0)
        throw std::invalid_argument("unexpected value type");
    switch (tag) {
        case kNull:
            return std::monostate{};
        case kInteger:
            return static_cast<std::int64_t>(reader.U64());
        case kDouble: {
            const std::uint64_t bits = reader.U64();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        case kText: {
            const std::string_view text = reader.Take(reader.U64());
            return std::string(text);
        }
        default: {
            const std::string_view raw = reader.Take(reader.U64());
            return Bytes(raw.begin(), raw.end());
        }
    }
}

Allowed StationColumn(int) {
    return Bit(kText);
}

Allowed ProfileColumn(int position) {
    if (position < kFirstNumberPosition)
        return Bit(kText);
    if (position < kPicturePosition)
        return Bit(kNull) | Bit(kDouble);
    return Bit(kNull) | Bit(kBytes);
}

std::vector<std::vector<Value>> TakeTable(Reader& reader, int columns, Allowed (*column)(int)) {
    const std::uint64_t count = reader.U64();
    // Each value takes at least its tag byte.
    if (count > reader.Left() / static_cast<std::uint64_t>(columns))
        throw std::invalid_argument("row count beyond the bytes");
    std::vector<std::vector<Value>> rows(static_cast<std::size_t>(count));
    for (auto& row : rows) {
        row.reserve(static_cast<std::size_t>(columns));
        for (int i = 0; i < columns; ++i) row.push_back(TakeValue(reader, column(i)));
    }
    return rows;
}

}  // namespace

std::string EncodeMdbTables(const MdbTables& tables) {
    std::string out(kMagic);
    PutTable(out, tables.stations);
    PutTable(out, tables.profiles);
    return out;
}

MdbTables DecodeMdbTables(std::string_view bytes) {
    Reader reader(bytes);
    if (reader.Take(kMagic.size()) != kMagic)
        throw std::invalid_argument("not a table transfer");
    MdbTables tables;
    tables.stations = TakeTable(reader, kStationColumns, StationColumn);
    tables.profiles = TakeTable(reader, kProfileColumns, ProfileColumn);
    if (!reader.AtEnd())
        throw std::invalid_argument("bytes after the tables");
    return tables;
}

}  // namespace quoinry::db
