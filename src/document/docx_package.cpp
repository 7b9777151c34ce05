// The .docx package of a parted document: a first pass over every part finds the headings (for
// the contents), the pictures and the length of document.xml; the second composes the parts
// again one by one while libzip compresses them into the package.
#include <algorithm>
#include <cstring>

#include "document/document_error.h"
#include "document/docx_document.h"
#include "document/docx_parts.h"
#include "document/zip_writer.h"

namespace quoinry::document {
namespace {

// What the first pass learns of the whole document.
struct FirstPass {
    std::vector<DocxHeading> headings;
    std::vector<std::string> pictures;
    bool contents = false;
    std::uint64_t body_size = 0;
};

FirstPass MeasureDocument(const PartedDocument& document, const DocxLayout& layout, StopFlag stop,
                          const std::filesystem::path& out) {
    DocxDocument docx(layout, nullptr);
    FirstPass pass;
    for (std::size_t part = 0; part < document.PartCount(); ++part) {
        ThrowIfStopped(stop, out);
        document.ComposePart(part, docx);
        pass.body_size += docx.TakeXml().size();
    }
    pass.body_size += docx.ContentsSize() + docx.Ending().size();
    pass.headings = docx.headings();
    pass.pictures = docx.pictures();
    pass.contents = docx.has_contents();
    return pass;
}

// document.xml, composed a part at a time as libzip asks for more.
class BodyStream : public ZipStream {
  public:
    BodyStream(const PartedDocument& document, const DocxLayout& layout, const FirstPass& pass,
               StopFlag stop, const std::filesystem::path& out)
        : document_(document),
          docx_(layout, &pass.headings),
          layout_(layout),
          stop_(stop),
          out_(out),
          pending_(parts::DocumentStart()) {}

    std::size_t Read(char* target, std::size_t size) override {
        while (at_ == pending_.size() && !ended_) Refill();
        const std::size_t count = std::min(size, pending_.size() - at_);
        std::memcpy(target, pending_.data() + at_, count);
        at_ += count;
        written_ += count;
        return count;
    }

    std::uint64_t written() const { return written_; }

  private:
    void Refill() {
        at_ = 0;
        if (part_ < document_.PartCount()) {
            ThrowIfStopped(stop_, out_);
            document_.ComposePart(part_++, docx_);
            pending_ = docx_.TakeXml();
        } else {
            pending_ = docx_.Ending() + parts::DocumentEnd(layout_);
            ended_ = true;
        }
    }

    const PartedDocument& document_;
    DocxDocument docx_;
    const DocxLayout& layout_;
    StopFlag stop_;
    const std::filesystem::path& out_;
    std::string pending_;
    std::size_t at_ = 0;
    std::size_t part_ = 0;
    bool ended_ = false;
    std::uint64_t written_ = 0;
};

}  // namespace

void WriteDocx(const PartedDocument& document, const std::filesystem::path& file, StopFlag stop,
               const std::filesystem::path& out) {
    const DocxLayout layout;
    const FirstPass pass = MeasureDocument(document, layout, stop, out);
    const std::uint64_t size =
        parts::DocumentStart().size() + pass.body_size + parts::DocumentEnd(layout).size();
    BodyStream body(document, layout, pass, stop, out);
    const int pictures = static_cast<int>(pass.pictures.size());
    ZipWriter zip(file);
    zip.Add("[Content_Types].xml", parts::ContentTypes());
    zip.Add("_rels/.rels", parts::PackageRelationships());
    zip.AddStream("word/document.xml", size, body);
    zip.Add("word/_rels/document.xml.rels", parts::DocumentRelationships(pictures));
    zip.Add("word/styles.xml", parts::Styles(layout));
    zip.Add("word/settings.xml", parts::Settings(pass.contents));
    zip.Add("word/fontTable.xml", parts::FontTable(layout));
    zip.Add(parts::kFooterPart, parts::Footer(layout));
    for (int n = 1; n <= pictures; ++n)
        zip.Add(parts::PicturePart(n), pass.pictures[static_cast<std::size_t>(n - 1)]);
    zip.Add("docProps/core.xml", parts::CoreProperties(document.Info()));
    zip.Add("docProps/app.xml", parts::AppProperties());
    zip.Close();
    // A report changed between the passes would give a document.xml of another length.
    if (body.written() != size)
        throw DocumentError(DocumentProblem::ReportUnreadable, out);
}

}  // namespace quoinry::document
