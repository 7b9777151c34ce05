#pragma once

#include <stdexcept>
#include <string>

namespace quoinry {

// The run-time errors a calculation can raise; each has the description the user sees after
// "当前错误:".
enum class ErrorKind {
    TypeMismatch,
    DivisionByZero,
    InvalidCall,
    Overflow,
    PermissionDenied,
    PathFileAccess,
    InvalidInput,    // an input refused before its calculation ran
    FileUnwritable,  // a report or folder the disk did not take: the whole run stops
};

// UTF-8 description of an error kind, e.g. "类型不匹配".
const char* Describe(ErrorKind kind);

class CalcError : public std::runtime_error {
  public:
    explicit CalcError(ErrorKind kind) : std::runtime_error(Describe(kind)), kind_(kind) {}
    ErrorKind kind() const { return kind_; }
    // May run over several lines (a refused input adds the lines that name it).
    std::string description() const { return what(); }

  protected:
    CalcError(ErrorKind kind, const std::string& description)
        : std::runtime_error(description), kind_(kind) {}

  private:
    ErrorKind kind_;
};

// The line shown in the message box and on standard error.
inline std::string ErrorLine(const CalcError& error) {
    return "当前错误:" + error.description();
}

}  // namespace quoinry
