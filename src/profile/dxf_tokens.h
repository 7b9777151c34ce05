#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quoinry::profile {

// One group of a DXF file: a group code and its value line, with the line number of the code.
struct DxfPair {
    int code = 0;
    std::string_view value;  // without the line end
    size_t line = 0;
};

// Reads an ASCII DXF text pair by pair. Lines end in LF or CR LF and may be of any length;
// nothing is sized from a count in the file. A binary file (binary DXF, DWG, anything with
// control bytes) is refused at construction, a group code that is not a whole number where it is
// read (SectionError naming the line).
class DxfTokens {
  public:
    explicit DxfTokens(std::string_view text);

    // False at the end of the text.
    bool Next(DxfPair& pair);

  private:
    std::string_view Line();

    std::string_view text_;
    size_t at_ = 0;
    size_t line_ = 0;
};

// "第12行: " for messages.
std::string AtLine(size_t line);

// A group value as a finite number, refused (naming its line) when it is not a number or its
// magnitude exceeds `largest`.
double DxfNumber(const DxfPair& pair, double largest = 1e12);
// A group value as a whole number within [lowest, highest].
long DxfInteger(const DxfPair& pair, long lowest = -2147483648L, long highest = 2147483647L);

// The value with blanks around it removed.
std::string_view DxfTrimmed(std::string_view value);

}  // namespace quoinry::profile
