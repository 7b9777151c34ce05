#pragma once

// Reading a written PDF back with Debian's poppler-utils, as a user's viewer sees it.

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quoinry::pdf::testing {

namespace fs = std::filesystem;

// Standard output of a shell command; fails the test when it does not exit with 0.
inline std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return out;
    }
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return out;
}

inline std::string Quoted(const fs::path& file) {
    return "'" + file.string() + "'";
}

// The text of the pages in the order it is drawn.
inline std::string PdfText(const fs::path& pdf, int first = 0, int last = 0) {
    std::string range;
    if (first > 0)
        range = " -f " + std::to_string(first) + " -l " + std::to_string(last);
    return Output("pdftotext -raw -enc UTF-8" + range + " " + Quoted(pdf) + " -");
}

// Each page's text; pdftotext ends every page with a form feed.
inline std::vector<std::string> PdfPages(const fs::path& pdf) {
    std::vector<std::string> pages;
    const std::string text = PdfText(pdf);
    std::size_t start = 0;
    for (std::size_t feed = text.find('\f'); feed != std::string::npos;
         feed = text.find('\f', start)) {
        pages.push_back(text.substr(start, feed - start));
        start = feed + 1;
    }
    return pages;
}

// "Key: value" lines of pdfinfo.
inline std::string PdfInfo(const fs::path& pdf, const std::string& key) {
    const std::string info = Output("pdfinfo " + Quoted(pdf));
    std::smatch match;
    if (std::regex_search(info, match, std::regex(key + ":\\s*([^\\n]*)")))
        return match[1].str();
    return "";
}

// The text without blanks and line breaks: a line wider than the page wraps, a superscript may
// sit on a line of its own in the text a viewer extracts.
inline std::string WithoutBreaks(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (std::string(" \t\n\r\f").find(c) == std::string::npos)
            out += c;
    }
    return out;
}

struct Pixels {
    int dark = 0;  // darker than mid grey
    int red = 0;   // clearly red
};

// Counts pixels of a region of a page (points from the upper left corner) drawn at 72 dpi.
inline Pixels CountPixels(const fs::path& pdf, int page, int x, int y, int width, int height) {
    const std::string ppm =
        Output("pdftoppm -r 72 -f " + std::to_string(page) + " -l " + std::to_string(page) +
               " -x " + std::to_string(x) + " -y " + std::to_string(y) + " -W " +
               std::to_string(width) + " -H " + std::to_string(height) + " " + Quoted(pdf));
    // P6, width, height, 255, then RGB bytes.
    std::size_t at = 0;
    for (int fields = 0; fields < 4; ++fields) {
        at = ppm.find_first_not_of(" \n", at);
        at = ppm.find_first_of(" \n", at);
    }
    Pixels pixels;
    for (std::size_t i = at + 1; i + 2 < ppm.size(); i += 3) {
        const auto r = static_cast<unsigned char>(ppm[i]);
        const auto g = static_cast<unsigned char>(ppm[i + 1]);
        const auto b = static_cast<unsigned char>(ppm[i + 2]);
        pixels.dark += r + g + b < 3 * 128 ? 1 : 0;
        pixels.red += r > 180 && g < 90 && b < 90 ? 1 : 0;
    }
    return pixels;
}

struct Word {
    std::string text;
    double x_min, y_min, x_max, y_max;
};

// The words of one page with their boxes in points.
inline std::vector<Word> PdfWords(const fs::path& pdf, int page) {
    const std::string html = Output("pdftotext -bbox -f " + std::to_string(page) + " -l " +
                                    std::to_string(page) + " " + Quoted(pdf) + " -");
    static const std::regex kWord(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)"
        "</word>");
    std::vector<Word> words;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), kWord);
         it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        words.push_back({m[5].str(), std::stod(m[1].str()), std::stod(m[2].str()),
                         std::stod(m[3].str()), std::stod(m[4].str())});
    }
    return words;
}

}  // namespace quoinry::pdf::testing
