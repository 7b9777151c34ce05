#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "document/document_sink.h"

// WordprocessingML of the body's pieces: runs, paragraphs, pictures, table rows, fields.
namespace quoinry::document::docx {

// The look of a run; sizes in half-points, as WordprocessingML counts them.
struct RunStyle {
    int half_points = 28;
    bool bold = false;
    bool red = false;
    bool superscript = false;
};

// "<w:rPr>...</w:rPr>" of `font` in `style`. The elements keep the order the schema demands.
std::string RunProperties(std::string_view font, const RunStyle& style);

// One run of text; a tab becomes its own element.
void AppendRun(std::string& out, const std::string& run_properties, std::string_view text);
// The runs, each superscript run in its own properties.
void AppendRuns(std::string& out, std::string_view font, RunStyle style, const Runs& runs);

// A field such as " PAGE " or " PAGEREF _Toc1 \h ", its result left to the word processor.
void AppendField(std::string& out, const std::string& run_properties, std::string_view instruction);

// An inline picture of the media part behind `relationship`, `id` unique in the document.
void AppendDrawing(std::string& out, int id, std::string_view relationship, std::int64_t width_emu,
                   std::int64_t height_emu);

std::int64_t PointsToEmu(double points);

}  // namespace quoinry::document::docx
