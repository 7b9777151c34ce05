#include "web/design_values.h"

#include <stdexcept>

#include "common/base64.h"
#include "design/input_fields.h"

namespace quoinry::web {
namespace {

void SetDesignValue(Design& design, std::string_view key, std::string_view text) {
    DesignInfo& info = design.info;
    if (key == "name") {
        info.name = text;
    } else if (key == "project") {
        info.project = text;
    } else if (key == "engineer") {
        info.engineer = text;
    } else if (key == "region") {
        design.region = text;
    } else if (key == "member") {
        if (text == "1" && !design.member)
            design.member.emplace();
        if (text != "1")
            design.member.reset();
    } else if (key == "insulating") {
        design.insulating_glass = text == "1";
    } else if (key == "section_drawing") {
        if (design.member)
            design.member->section_drawing = text;
    } else if (key == "picture") {
        const auto bytes = DecodeBase64(text);
        if (!bytes)
            throw std::invalid_argument("截面图片不是有效的base64文本");
        design.picture = *bytes;
    } else {
        throw std::invalid_argument("未知的设计值 design/" + std::string(key));
    }
}

std::string Line(std::string_view section, std::string_view key, std::string_view text) {
    return std::string(section) + '\t' + std::string(key) + '\t' + std::string(text) + '\n';
}

}  // namespace

Design DesignOfValues(std::string_view values) {
    Design design;
    // The member comes first, so that its fields have somewhere to go.
    if (values.find("design\tmember\t1\n") != std::string_view::npos)
        design.member.emplace();
    std::size_t start = 0;
    while (start < values.size()) {
        std::size_t end = values.find('\n', start);
        if (end == std::string_view::npos)
            end = values.size();
        const std::string_view line = values.substr(start, end - start);
        start = end + 1;
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == line.npos ? line.npos : line.find('\t', tab1 + 1);
        if (tab2 == line.npos)
            throw std::invalid_argument("设计值的行不完整: " + std::string(line.substr(0, 40)));
        const std::string_view section = line.substr(0, tab1);
        const std::string_view key = line.substr(tab1 + 1, tab2 - tab1 - 1);
        const std::string_view text = line.substr(tab2 + 1);
        if (section == "design") {
            SetDesignValue(design, key, text);
        } else if (const InputField* field = FindInputField(section, key)) {
            if (field->section != "gj" || design.member)
                SetFieldText(design, *field, text);
        } else {
            throw std::invalid_argument("未知的输入 " + std::string(section) + "/" +
                                        std::string(key));
        }
    }
    return design;
}

std::string ValuesOfDesign(const Design& design) {
    std::string out =
        Line("design", "name", design.info.name) + Line("design", "project", design.info.project) +
        Line("design", "engineer", design.info.engineer) + Line("design", "region", design.region) +
        Line("design", "member", design.member ? "1" : "0") +
        Line("design", "insulating", design.insulating_glass ? "1" : "0") +
        Line("design", "section_drawing", design.member ? design.member->section_drawing : "") +
        Line("design", "picture", EncodeBase64(design.picture));
    for (const InputField& field : InputFields()) {
        if (field.section != "gj" || design.member)
            out += Line(field.section, field.key, FieldText(design, field));
    }
    return out;
}

}  // namespace quoinry::web
