#pragma once

#include <string>

#include "document/docx_document.h"

// The XML parts of a .docx package (Office Open XML, WordprocessingML).
namespace quoinry::document::parts {

inline constexpr const char* kPicturePart = "word/media/image1.wmf";
inline constexpr const char* kPictureRelationship = "rIdPicture";

// Run properties of the layout's font and size, "<w:rPr>...</w:rPr>".
std::string RunProperties(const DocxLayout& layout);

std::string ContentTypes();
std::string PackageRelationships();
std::string DocumentRelationships(bool with_picture);
std::string Document(const DocxDocument& document);
std::string Styles(const DocxLayout& layout);
std::string Settings();
std::string FontTable(const DocxLayout& layout);
std::string CoreProperties(const DocxProperties& properties);
std::string AppProperties();

}  // namespace quoinry::document::parts
