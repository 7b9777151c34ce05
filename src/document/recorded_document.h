#pragma once

#include <string>
#include <vector>

#include "document/document_sink.h"
#include "document/parted_document.h"

namespace quoinry::document {

enum class BlockKind { Cover, Contents, Heading, Paragraph, Picture, Table, PageBreak };

// One call of a DocumentSink; only the fields of its kind are set.
struct Block {
    BlockKind kind = BlockKind::Paragraph;
    int level = 0;    // Heading: its level; Contents: the deepest level listed
    Runs runs;        // Heading, Paragraph
    std::string wmf;  // Picture
    PictureSize size;
    DocumentTable table;
    CoverBlock cover;
};

// A document kept as its blocks, so that one composition goes to several writers (the .docx,
// the PDF, the print preview) and across to the Qt module. To the writers it is one part.
class RecordedDocument : public DocumentSink, public PartedDocument {
  public:
    explicit RecordedDocument(DocumentInfo info = {}) : info_(std::move(info)) {}

    void Cover(const CoverBlock& cover) override;
    void Contents(int max_level) override;
    void Heading(int level, const Runs& runs) override;
    void Paragraph(const Runs& runs) override;
    void Picture(const std::string& wmf, PictureSize size) override;
    void Table(const DocumentTable& table) override;
    void PageBreak() override;

    DocumentInfo Info() const override { return info_; }
    std::size_t PartCount() const override { return 1; }
    void ComposePart(std::size_t index, DocumentSink& sink) const override;

    const DocumentInfo& info() const { return info_; }
    DocumentInfo& info() { return info_; }
    const std::vector<Block>& blocks() const { return blocks_; }

  private:
    Block& Add(BlockKind kind);

    DocumentInfo info_;
    std::vector<Block> blocks_;
};

// Hands every block to `sink`, in order.
void Replay(const RecordedDocument& document, DocumentSink& sink);

}  // namespace quoinry::document
