// The page's entry points: plain C functions over the core that take bytes and answer one JSON
// object (the text stays valid until the next call). The page (web/) calls them through the
// module's ccall; the command line, the tests and the windows drive the same core.
#include <emscripten/emscripten.h>

#include <filesystem>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/base64.h"
#include "common/cp936.h"
#include "common/file_bytes.h"
#include "common/numbers.h"
#include "db/sample_profiles.h"
#include "db/station_table.h"
#include "design/design_run.h"
#include "design/input_fields.h"
#include "design/library_profile.h"
#include "design/result_json.h"
#include "edition/code_edition.h"
#include "web/design_values.h"
#include "web/docx_parts_answer.h"
#include "web/json_writer.h"
#include "web/section_answer.h"

namespace quoinry::web {
namespace {

std::string& Answer() {
    static std::string answer;
    return answer;
}

// Whatever escapes a call becomes {"error": ...}: the page shows it, it never aborts the module.
template <typename Work>
const char* Answered(Work work) {
    try {
        Answer() = work();
    } catch (const std::bad_alloc&) {
        Answer() = JsonObject().Text("error", "内存不足").Close();
    } catch (const std::exception& e) {
        Answer() = JsonObject().Text("error", e.what()).Close();
    }
    return Answer().c_str();
}

std::string_view Bytes(const char* data, int size) {
    return size > 0 ? std::string_view(data, static_cast<std::size_t>(size)) : std::string_view();
}

std::string RuleName(FieldRule rule) {
    constexpr const char* kNames[] = {"any",     "positive", "nonnegative", "none_or_nonnegative",
                                      "nonzero", "height",   "pane_side",   "one_of"};
    return kNames[static_cast<int>(rule)];
}

std::string Texts(std::span<const std::string_view> texts) {
    JsonArray array;
    for (const std::string_view text : texts) array.Text(text);
    return array.Close();
}

std::string FieldJson(const InputField& field) {
    JsonObject captions;
    for (const CodeEdition* edition : CodeEditions()) {
        captions.Text(edition->id, FieldCaption(field, false, edition));
        captions.Text(std::string(edition->id) + "h", FieldCaption(field, true, edition));
    }
    return JsonObject()
        .Text("section", field.section)
        .Text("key", field.key)
        .Text("box", field.box)
        .Text("label", field.label)
        .Text("unit", field.unit)
        .Text("kind", field.kind == FieldKind::Text ? "text" : "option")
        .Text("rule", RuleName(field.rule))
        .Text("horizontal_rule", RuleName(field.horizontal_rule))
        .Raw("choices", Texts(field.choices))
        .Raw("items", Texts(field.choice_items.empty() ? field.choices : field.choice_items))
        .Text("default", field.default_text)
        .Raw("captions", captions.Close())
        .Close();
}

std::string Report(const std::filesystem::path& file) {
    const std::optional<std::string> bytes = ReadFileBytes(file);
    if (!bytes)
        return "null";
    return JsonObject()
        .Text("text", Cp936ToUtf8(*bytes))
        .Text("cp936", EncodeBase64(*bytes))
        .Close();
}

std::string RefusalsJson(const std::vector<InputRefusal>& refusals) {
    JsonArray array;
    for (const InputRefusal& refusal : refusals) {
        array.Raw(JsonObject()
                      .Text("section", refusal.field->section)
                      .Text("key", refusal.field->key)
                      .Text("message", refusal.message)
                      .Close());
    }
    return array.Close();
}

std::string Compute(std::string_view values) {
    const Design design = DesignOfValues(values);
    const std::filesystem::path out = "/tmp/quoinry-run";
    SharedValues shared;
    const DesignRunResult result = RunDesign(design, out, shared);
    JsonObject reports;
    for (const char* name : kReportFiles) reports.Raw(name, Report(out / name));
    return JsonObject()
        .Raw("results", result.error ? ErrorJson(result.error->description()) : ResultsJson(result))
        .Text("glass_box", result.glass_box)
        .Text("member_box", result.member_box)
        .Raw("refusals", RefusalsJson(result.refusals))
        .Raw("reports", reports.Close())
        .Close();
}

std::string OpenDesign(std::string_view bytes, const std::string& name) {
    const DesignFileReading reading = ParseDesignFile(bytes, std::filesystem::path(name));
    JsonArray warnings;
    for (const std::string& warning : reading.warnings) warnings.Text(warning);
    return JsonObject()
        .Text("values", ValuesOfDesign(reading.design))
        .Raw("warnings", warnings.Close())
        .Close();
}

std::string NewDesign() {
    Design design;
    design.wind.edition = std::string(CurrentEdition().id);
    return JsonObject().Text("values", ValuesOfDesign(design)).Close();
}

std::string Tables() {
    JsonArray fields;
    for (const InputField& field : InputFields()) fields.Raw(FieldJson(field));
    JsonArray stations;
    for (const db::Station& s : db::BuiltInStations())
        stations.Raw(JsonArray().Text(s.region).Text(s.city).Text(s.wp50).Close());
    JsonArray profiles;
    for (const db::SampleProfile& p : db::BuiltInSampleProfiles())
        profiles.Raw(JsonArray().Text(p.texts.series).Text(p.texts.number).Close());
    return JsonObject()
        .Raw("fields", fields.Close())
        .Raw("stations", stations.Close())
        .Raw("profiles", profiles.Close())
        .Text("current_edition", CurrentEdition().id)
        .Close();
}

// The record's values (positions 2 to 16) put into the member as the member window does.
std::string ApplyProfile(std::string_view values, const std::array<std::string, 15>& record,
                         const std::string& picture, const std::string& drawing) {
    Design design = DesignOfValues(values);
    LibraryProfile profile;
    for (std::size_t i = 0; i < kLibraryProfileFieldCount; ++i) {
        const std::string& text = record[LibraryProfileFields()[i].position - 2];
        if (!text.empty())
            profile.texts[i] = text;
    }
    profile.picture = picture;
    std::array<bool, kLibraryProfileFieldCount> fill;
    fill.fill(true);
    if (!design.member)
        design.member.emplace();
    ApplyLibraryProfile(design, profile, fill);
    design.member->section_drawing = drawing;
    return JsonObject().Text("values", ValuesOfDesign(design)).Close();
}

std::string LibraryProfileInto(std::string_view values, int index) {
    const auto& profiles = db::BuiltInSampleProfiles();
    if (index < 0 || static_cast<std::size_t>(index) >= profiles.size())
        throw std::invalid_argument("型材库中没有第" + std::to_string(index + 1) + "个型材");
    const db::SampleProfile& p = profiles[static_cast<std::size_t>(index)];
    return ApplyProfile(values, p.texts.values, std::string(p.picture.begin(), p.picture.end()),
                        "");
}

std::string MeasuredInto(std::string_view values, std::string_view dxf, int region,
                         const std::string& name) {
    const MeasuredRegion measured = MeasureRegion(dxf, region);
    return ApplyProfile(values, measured.record, measured.picture, name);
}

}  // namespace
}  // namespace quoinry::web

using namespace quoinry::web;

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* qy_tables() {
    return Answered(Tables);
}

EMSCRIPTEN_KEEPALIVE const char* qy_new_design() {
    return Answered(NewDesign);
}

EMSCRIPTEN_KEEPALIVE const char* qy_compute(const char* values, int size) {
    return Answered([&] { return Compute(Bytes(values, size)); });
}

EMSCRIPTEN_KEEPALIVE const char* qy_open(const char* bytes, int size, const char* name) {
    return Answered([&] { return OpenDesign(Bytes(bytes, size), name); });
}

EMSCRIPTEN_KEEPALIVE const char* qy_save(const char* values, int size) {
    return Answered([&] {
        return JsonObject()
            .Text("text", quoinry::DesignFileText(DesignOfValues(Bytes(values, size))))
            .Close();
    });
}

EMSCRIPTEN_KEEPALIVE const char* qy_docx(const char* values, int size) {
    return Answered([&] { return DocxPartsJson(DesignOfValues(Bytes(values, size))); });
}

EMSCRIPTEN_KEEPALIVE const char* qy_library_profile(const char* values, int size, int index) {
    return Answered([&] { return LibraryProfileInto(Bytes(values, size), index); });
}

EMSCRIPTEN_KEEPALIVE const char* qy_regions(const char* dxf, int size) {
    return Answered([&] { return RegionsJson(Bytes(dxf, size)); });
}

EMSCRIPTEN_KEEPALIVE const char* qy_measured(const char* values, int values_size, const char* dxf,
                                             int dxf_size, int region, const char* name) {
    return Answered([&] {
        return MeasuredInto(Bytes(values, values_size), Bytes(dxf, dxf_size), region, name);
    });
}

}  // extern "C"
