#include "db/value.h"

#include <algorithm>

#include "common/calc_error.h"
#include "common/numbers.h"

namespace quoinry::db {

std::optional<std::string> ValueText(const Value& value) {
    struct Visitor {
        std::optional<std::string> operator()(std::monostate) const { return std::nullopt; }
        std::optional<std::string> operator()(std::int64_t v) const { return std::to_string(v); }
        std::optional<std::string> operator()(double v) const { return GeneralText(v); }
        std::optional<std::string> operator()(const std::string& v) const { return v; }
        std::optional<std::string> operator()(const Bytes&) const {
            throw CalcError(ErrorKind::TypeMismatch);
        }
    };
    return std::visit(Visitor{}, value);
}

std::int64_t Field::ActualSize() const {
    if (const auto* bytes = std::get_if<Bytes>(&value_)) {
        return static_cast<std::int64_t>(bytes->size());
    }
    if (std::holds_alternative<std::monostate>(value_))
        return 0;
    return static_cast<std::int64_t>(Text()->size());
}

Bytes Field::GetChunk(std::int64_t size) {
    const auto* bytes = std::get_if<Bytes>(&value_);
    if (bytes == nullptr || size <= 0)
        return {};
    const std::size_t start = std::min(read_, bytes->size());
    const std::size_t end = std::min(bytes->size(), start + static_cast<std::size_t>(size));
    read_ = end;
    return Bytes(bytes->begin() + static_cast<std::ptrdiff_t>(start),
                 bytes->begin() + static_cast<std::ptrdiff_t>(end));
}

}  // namespace quoinry::db
