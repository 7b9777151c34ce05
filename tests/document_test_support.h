#pragma once

// Helpers for the calculation document tests: a scratch folder, report files, and reading the
// written .docx back.

#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/cp936.h"
#include "document/calculation_document.h"
#include "document/recorded_document.h"
#include "document/report_text.h"
#include "test_support.h"

namespace quoinry::document::testing {

namespace fs = std::filesystem;

inline const fs::path kDocumentData = fs::path(QUOINRY_TEST_DATA) / "data" / "document";
inline constexpr const char* kPicture = "[picture]";
inline constexpr const char* kHeading = "(3).选用型材的截面特性:";

using testing_support::ReadBytes;
using testing_support::ScratchFolder;
using testing_support::WriteBytes;

// A report as the calculations write it: CP936, CR LF after every line.
inline std::string Report(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += Utf8ToCp936(line) + "\r\n";
    return text;
}

// Every entry of a zip file, by name.
inline std::map<std::string, std::string> ReadZip(const fs::path& file) {
    std::map<std::string, std::string> entries;
    int code = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (archive == nullptr) {
        ADD_FAILURE() << "not a zip file: " << file << " (libzip error " << code << ")";
        return entries;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, i, 0, &stat);
        std::string data(stat.size, '\0');
        zip_file_t* entry = zip_fopen_index(archive, i, 0);
        const zip_int64_t read = zip_fread(entry, data.data(), data.size());
        zip_fclose(entry);
        EXPECT_EQ(read, static_cast<zip_int64_t>(stat.size)) << stat.name;
        entries[stat.name] = data;
    }
    zip_close(archive);
    return entries;
}

inline std::string XmlUnescaped(std::string text) {
    static const std::pair<const char*, const char*> kEntities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, plain] : kEntities) {
        for (std::size_t at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + 1)) {
            text.replace(at, std::string(entity).size(), plain);
        }
    }
    return text;
}

// Every match of group 1 (or the whole match) of `pattern` in `text`.
inline std::vector<std::string> AllMatches(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it) {
        found.push_back((*it).size() > 1 ? (*it)[1].str() : (*it)[0].str());
    }
    return found;
}

// The XML between each `open` and the next `close`, e.g. every paragraph's content.
inline std::vector<std::string> Elements(const std::string& xml, const std::string& open,
                                         const std::string& close) {
    std::vector<std::string> found;
    for (std::size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at)) {
        at += open.size();
        const std::size_t end = xml.find(close, at);
        if (end == std::string::npos)
            break;
        found.push_back(xml.substr(at, end - at));
        at = end + close.size();
    }
    return found;
}

// The text of one run: its w:t pieces and tabs.
inline std::string RunText(const std::string& run) {
    std::string text;
    const std::string open_text = "<w:t xml:space=\"preserve\">";
    std::size_t at = 0;
    while (true) {
        const std::size_t t = run.find(open_text, at);
        const std::size_t tab = run.find("<w:tab/>", at);
        if (t == std::string::npos && tab == std::string::npos)
            break;
        if (tab < t) {
            text += '\t';
            at = tab + 1;
        } else {
            const std::size_t start = t + open_text.size();
            const std::size_t end = run.find("</w:t>", start);
            text += XmlUnescaped(run.substr(start, end - start));
            at = end;
        }
    }
    return text;
}

inline bool IsSuperscriptRun(const std::string& run) {
    return run.find("<w:vertAlign w:val=\"superscript\"/>") != std::string::npos;
}

// The body's paragraphs as their texts, a superscript run written back in the reports' notation
// ("^2", "^(1/3)"), so that each reads as the report line it came from. A paragraph with a
// drawing reads kPicture.
inline std::vector<std::string> Paragraphs(const std::string& document_xml) {
    static const std::regex kNumber("[0-9]+(\\.[0-9]+)?");
    std::vector<std::string> paragraphs;
    for (const std::string& xml : Elements(document_xml, "<w:p>", "</w:p>")) {
        if (xml.find("<w:drawing>") != std::string::npos) {
            paragraphs.push_back(kPicture);
            continue;
        }
        std::string text;
        for (const std::string& run : Elements(xml, "<w:r>", "</w:r>")) {
            const std::string piece = RunText(run);
            if (!IsSuperscriptRun(run))
                text += piece;
            else if (std::regex_match(piece, kNumber))
                text += "^" + piece;
            else
                text += "^(" + piece + ")";
        }
        paragraphs.push_back(text);
    }
    return paragraphs;
}

// Each paragraph's style ("Heading1"), empty for the default one.
inline std::vector<std::string> ParagraphStyles(const std::string& document_xml) {
    std::vector<std::string> styles;
    for (const std::string& xml : Elements(document_xml, "<w:p>", "</w:p>")) {
        const auto found = AllMatches(xml, "<w:pStyle w:val=\"([^\"]+)\"/>");
        styles.push_back(found.empty() ? "" : found[0]);
    }
    return styles;
}

// A document of every kind of block, as a project document uses them.
inline RecordedDocument ProjectDocument() {
    const std::string picture = ReadBytes(kDocumentData / "xc.wmf");
    RecordedDocument project({"项目计算书", "张工", 0});
    project.Cover({"某住宅小区门窗计算书", {"工程名称:某住宅小区", "设计人:张工"}});
    project.PageBreak();
    project.Contents(2);
    project.PageBreak();
    project.Heading(1, PlainRuns("汇总"));
    DocumentTable table;
    table.header = {Cell("窗号"), Cell("Wk(kN/m^2)"), Cell("玻璃")};
    table.rows = {{Cell("C1"), Cell("1.105"), Cell("满足")},
                  {Cell("C2"), Cell("2.310"), Cell("不满足", true)}};
    table.column_weights = {1, 2, 1};
    project.Table(table);
    for (const char* name : {"C1", "C2"}) {
        project.PageBreak();
        project.Heading(1, PlainRuns(name));
        project.Heading(2, PlainRuns("一、门窗承受荷载计算"));
        project.Heading(3, PlainRuns("(1).风荷载标准值计算:"));
        project.Paragraph(ExponentRuns("Wk=1.105kN/m^2"));
        project.Picture(picture, {278.65, 170.1});
    }
    project.Picture(
        ReadBytes(fs::path(QUOINRY_TEST_DATA).parent_path() / "data/profiles/kc60-frame.wmf"),
        {100, 50});
    return project;
}

// The document of the sample design's reports and picture, written and read back.
class SampleDocumentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        BuildCalculationDocument(ReportsIn(kDocumentData, kDocumentData / "xc.wmf"),
                                 folder_ / "计算书.docx");
        entries_ = ReadZip(folder_ / "计算书.docx");
        document_ = entries_["word/document.xml"];
    }
    ScratchFolder folder_;
    std::map<std::string, std::string> entries_;
    std::string document_;
};

}  // namespace quoinry::document::testing
