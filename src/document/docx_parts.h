#pragma once

#include <string>

#include "document/docx_document.h"

// The XML parts of a .docx package (Office Open XML, WordprocessingML).
namespace quoinry::document::parts {

inline constexpr const char* kFooterPart = "word/footer1.xml";

// The n-th picture (from 1): "word/media/image<n>.wmf", and its relationship's id.
std::string PicturePart(int n);
std::string PictureRelationship(int n);

std::string ContentTypes();
std::string PackageRelationships();
std::string DocumentRelationships(int pictures);
// document.xml is DocumentStart(), the body's XML, then DocumentEnd().
std::string DocumentStart();
// The section properties (A4, margins, footer) and the closing tags.
std::string DocumentEnd(const DocxLayout& layout);
// Normal, the headings with their outline levels and the contents' entries.
std::string Styles(const DocxLayout& layout);
// `update_fields`: the word processor fills in the contents' pages when it opens the file.
std::string Settings(bool update_fields);
std::string FontTable(const DocxLayout& layout);
// "第 N 页 共 M 页", centred.
std::string Footer(const DocxLayout& layout);
std::string CoreProperties(const DocumentInfo& info);
// The program's name and version.
std::string AppProperties();

}  // namespace quoinry::document::parts
