#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "design/result_json.h"

namespace quoinry::web {

// JSON text built in order: the page reads what the core answers as one JSON object.
inline std::string Quoted(std::string_view text) {
    return JsonQuoted(text);
}

class JsonObject {
  public:
    JsonObject& Raw(std::string_view name, std::string_view json) {
        text_ += text_.size() > 1 ? "," : "";
        text_ += Quoted(name) + ":";
        text_ += json;
        return *this;
    }
    JsonObject& Text(std::string_view name, std::string_view value) {
        return Raw(name, Quoted(value));
    }
    JsonObject& Flag(std::string_view name, bool value) {
        return Raw(name, value ? "true" : "false");
    }
    std::string Close() const { return text_ + "}"; }

  private:
    std::string text_ = "{";
};

class JsonArray {
  public:
    JsonArray& Raw(std::string_view json) {
        text_ += text_.size() > 1 ? "," : "";
        text_ += json;
        return *this;
    }
    JsonArray& Text(std::string_view value) { return Raw(Quoted(value)); }
    std::string Close() const { return text_ + "]"; }

  private:
    std::string text_ = "[";
};

}  // namespace quoinry::web
