#include "profile/dxf_entities.h"

#include <optional>

#include "common/cp936.h"
#include "profile/dxf_records.h"
#include "profile/dxf_tokens.h"
#include "profile/section_error.h"

namespace quoinry::profile {
namespace {

std::string Upper(std::string_view text) {
    std::string out(DxfTrimmed(text));
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

enum class Section { kNone, kHeader, kTables, kBlocks, kEntities, kOther };

Section SectionNamed(std::string_view name) {
    if (name == "HEADER")
        return Section::kHeader;
    if (name == "TABLES")
        return Section::kTables;
    if (name == "BLOCKS")
        return Section::kBlocks;
    if (name == "ENTITIES")
        return Section::kEntities;
    return Section::kOther;
}

// Walks the records of the file: each starts with a group 0 and runs to the next.
class Parser {
  public:
    explicit Parser(std::string_view text) : tokens_(text) {}

    DxfFile Run() {
        DxfPair pair;
        bool more = tokens_.Next(pair);
        while (more) {
            if (pair.code != 0) {
                more = tokens_.Next(pair);  // stray groups between records
                continue;
            }
            const std::string type(DxfTrimmed(pair.value));
            const size_t line = pair.line + 1;  // where the type's name stands
            fields_.clear();
            while ((more = tokens_.Next(pair)) && pair.code != 0) {
                if (pair.code < 1000)  // extended data is not ours
                    fields_.push_back(pair);
            }
            Record(type, line);
            if (type == "EOF")
                break;
        }
        FinishPolyline();
        return std::move(file_);
    }

  private:
    void Record(const std::string& type, size_t line) {
        if (type == "SECTION") {
            FinishPolyline();
            section_ = Section::kOther;
            for (const DxfPair& f : fields_) {
                if (f.code == 2) {
                    section_ = SectionNamed(DxfTrimmed(f.value));
                    break;
                }
            }
            if (section_ == Section::kHeader)
                Header();
            return;
        }
        if (type == "ENDSEC") {
            FinishPolyline();
            section_ = Section::kNone;
            return;
        }
        if (section_ == Section::kTables)
            return Table(type);
        if (section_ == Section::kBlocks && type == "BLOCK")
            return StartBlock();
        if (section_ == Section::kBlocks && type == "ENDBLK") {
            FinishPolyline();
            block_ = nullptr;
            return;
        }
        if (section_ == Section::kEntities || (section_ == Section::kBlocks && block_ != nullptr))
            Entity(type, line);
    }

    // The header's variables all come in the SECTION record: 9 / $NAME, then its values.
    void Header() {
        std::string_view variable;
        for (const DxfPair& f : fields_) {
            if (f.code == 9) {
                variable = DxfTrimmed(f.value);
            } else if (variable == "$INSUNITS" && f.code == 70) {
                file_.insunits = DxfInteger(f);
            } else if (variable == "$ACADVER" && f.code == 1) {
                file_.version = Upper(f.value);
            } else if (variable == "$DWGCODEPAGE" && f.code == 3) {
                file_.codepage = Upper(f.value);
            }
        }
    }

    void Table(const std::string& type) {
        if (type == "LTYPE") {
            std::string name;
            bool broken = false;
            for (const DxfPair& f : fields_) {
                if (f.code == 2)
                    name = Upper(f.value);
                if (f.code == 49 && DxfNumber(f) < 0)  // a gap
                    broken = true;
            }
            file_.broken_linetypes[name] = broken;
        } else if (type == "LAYER") {
            std::string name, linetype = "CONTINUOUS";
            for (const DxfPair& f : fields_) {
                if (f.code == 2)
                    name = Upper(f.value);
                if (f.code == 6)
                    linetype = Upper(f.value);
            }
            file_.layer_linetypes[name] = linetype;
        }
    }

    void StartBlock() {
        FinishPolyline();
        std::string name;
        Point base;
        for (const DxfPair& f : fields_) {
            if (f.code == 2)
                name = Upper(f.value);
            if (f.code == 10)
                base.x = DxfNumber(f);
            if (f.code == 20)
                base.y = DxfNumber(f);
        }
        block_ = &file_.blocks[name];
        *block_ = DxfBlock{base, {}};
    }

    DxfEntities& Target() { return block_ ? block_->entities : file_.model; }

    void Entity(const std::string& type, size_t line) {
        const RecordUse use = UseOf(type);
        if (use == RecordUse::kVertex) {
            polyline_.AddVertex(fields_);
            return;
        }
        FinishPolyline();
        switch (use) {
            case RecordUse::kShape:
                if (std::optional<DxfEntity> entity = ShapeEntity(type, fields_, line))
                    Target().push_back(std::move(*entity));
                break;
            case RecordUse::kPolylineStart:
                in_polyline_ = polyline_.Start(fields_, line);
                break;
            case RecordUse::kSolid:
                ++file_.solids;
                break;
            default:
                break;
        }
    }

    void FinishPolyline() {
        if (!in_polyline_)
            return;
        in_polyline_ = false;
        if (std::optional<DxfEntity> entity = polyline_.Finish())
            Target().push_back(std::move(*entity));
    }

    DxfTokens tokens_;
    DxfFields fields_;
    DxfFile file_;
    Section section_ = Section::kNone;
    DxfBlock* block_ = nullptr;
    PolylineBuilder polyline_;
    bool in_polyline_ = false;
};

// \U+XXXX stands for one character in texts of R2000 to R2004.
std::string DecodeEscapes(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 3) == "\\U+" && i + 7 <= text.size()) {
            unsigned value = 0;
            bool hex = true;
            for (char c : text.substr(i + 3, 4)) {
                const int digit = (c >= '0' && c <= '9')   ? c - '0'
                                  : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                  : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                                           : -1;
                hex = hex && digit >= 0;
                value = value * 16 + static_cast<unsigned>(digit < 0 ? 0 : digit);
            }
            if (hex) {
                if (value < 0x80) {
                    out += static_cast<char>(value);
                } else if (value < 0x800) {
                    out += static_cast<char>(0xC0 | (value >> 6));
                    out += static_cast<char>(0x80 | (value & 0x3F));
                } else {
                    out += static_cast<char>(0xE0 | (value >> 12));
                    out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
                    out += static_cast<char>(0x80 | (value & 0x3F));
                }
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace

DxfFile ParseDxf(std::string_view text) {
    return Parser(text).Run();
}

std::string DxfText(std::string_view raw, const DxfFile& file) {
    // AC1021 is R2007, the first version written in UTF-8.
    const bool utf8 = file.version.size() == 6 && file.version.rfind("AC", 0) == 0 &&
                      file.version.substr(2) >= "1021";
    if (utf8)
        return std::string(raw);
    if (file.codepage == "ANSI_936" || file.codepage == "GBK" || file.codepage == "GB2312")
        return DecodeEscapes(Cp936ToUtf8(raw));
    std::string latin;  // other code pages: their ASCII part, the rest as Latin-1
    for (unsigned char c : raw) {
        if (c < 0x80) {
            latin += static_cast<char>(c);
        } else {
            latin += static_cast<char>(0xC0 | (c >> 6));
            latin += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return DecodeEscapes(latin);
}

}  // namespace quoinry::profile
