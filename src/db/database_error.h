#pragma once

#include <stdexcept>
#include <string>

namespace quoinry::db {

// A database failure with the number and description the user sees after "当前错误:".
class DatabaseError : public std::runtime_error {
  public:
    DatabaseError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    explicit DatabaseError(const std::string& description) : DatabaseError(0, description) {}

    int number() const { return number_; }
    std::string description() const { return what(); }

  private:
    int number_;
};

inline constexpr int kNoGetChunkError = 1001;
inline constexpr int kNoCurrentRecordError = 3021;

}  // namespace quoinry::db
