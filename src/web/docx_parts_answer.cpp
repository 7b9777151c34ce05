#include "web/docx_parts_answer.h"

#include <stdexcept>

#include "common/base64.h"
#include "common/calc_error.h"
#include "common/file_bytes.h"
#include "design/design_run.h"
#include "document/calculation_document.h"
#include "document/document_error.h"
#include "web/json_writer.h"

namespace quoinry::web {
namespace {

// The parts as zip_parts.cpp wrote them.
std::string PartsJson(const std::string& bytes) {
    JsonArray parts;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t name_end = bytes.find('\n', at);
        const std::size_t size_end = bytes.find('\n', name_end + 1);
        if (name_end == std::string::npos || size_end == std::string::npos)
            throw std::runtime_error("计算书的临时文件不完整");
        const std::size_t size = std::stoul(bytes.substr(name_end + 1, size_end - name_end - 1));
        const std::string name = bytes.substr(at, name_end - at);
        parts.Raw(
            JsonArray().Text(name).Text(EncodeBase64(bytes.substr(size_end + 1, size))).Close());
        at = size_end + 1 + size;
    }
    return parts.Close();
}

}  // namespace

std::string DocxPartsJson(const Design& design) {
    SharedValues shared;
    const DesignRunResult result = RunDesign(design, "/tmp/quoinry-docx", shared);
    if (result.error)
        return JsonObject().Text("error", ErrorLine(*result.error)).Close();
    try {
        const document::ReportTexts reports{
            document::AsFileLines(result.wind_lines), document::AsFileLines(result.glass_lines),
            document::AsFileLines(result.member_lines),
            design.picture.empty() ? std::nullopt : std::optional<std::string>(design.picture)};
        document::Warnings warnings;
        document::RecordedDocument recorded =
            document::RecordCalculationDocument(reports, warnings);
        recorded.info().author = design.info.engineer;
        const std::filesystem::path out = "/tmp/quoinry-docx/document.parts";
        document::WriteDocxDocument(recorded, out);
        const std::optional<std::string> bytes = ReadFileBytes(out);
        if (!bytes)
            throw std::runtime_error("计算书的临时文件无法读取");
        JsonArray warning_list;
        for (const std::string& warning : warnings) warning_list.Text(warning);
        return JsonObject()
            .Raw("parts", PartsJson(*bytes))
            .Raw("warnings", warning_list.Close())
            .Close();
    } catch (const document::DocumentError& error) {
        return JsonObject().Text("error", document::ErrorLine(error)).Close();
    }
}

}  // namespace quoinry::web
