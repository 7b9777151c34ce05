#include "document/document_sink.h"

#include <algorithm>

#include "document/report_text.h"

namespace quoinry::document {

Runs PlainRuns(std::string_view text) {
    if (text.empty())
        return {};
    return {TextRun{std::string(text), false}};
}

std::string RunsText(const Runs& runs) {
    std::string text;
    for (const TextRun& run : runs) text += run.text;
    return text;
}

TableCell Cell(std::string_view text, bool failing) {
    return {ExponentRuns(text), failing};
}

int ClampedHeadingLevel(int level) {
    return std::clamp(level, 1, kMaxHeadingLevel);
}

}  // namespace quoinry::document
