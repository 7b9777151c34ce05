#include "document/recorded_document.h"

namespace quoinry::document {

Block& RecordedDocument::Add(BlockKind kind) {
    Block& block = blocks_.emplace_back();
    block.kind = kind;
    return block;
}

void RecordedDocument::Cover(const CoverBlock& cover) {
    Add(BlockKind::Cover).cover = cover;
}

void RecordedDocument::Contents(int max_level) {
    Add(BlockKind::Contents).level = ClampedHeadingLevel(max_level);
}

void RecordedDocument::Heading(int level, const Runs& runs) {
    Block& block = Add(BlockKind::Heading);
    block.level = ClampedHeadingLevel(level);
    block.runs = runs;
}

void RecordedDocument::Paragraph(const Runs& runs) {
    Add(BlockKind::Paragraph).runs = runs;
}

void RecordedDocument::Picture(const std::string& wmf, PictureSize size) {
    Block& block = Add(BlockKind::Picture);
    block.wmf = wmf;
    block.size = size;
}

void RecordedDocument::Table(const DocumentTable& table) {
    Add(BlockKind::Table).table = table;
}

void RecordedDocument::PageBreak() {
    Add(BlockKind::PageBreak);
}

void RecordedDocument::ComposePart(std::size_t, DocumentSink& sink) const {
    Replay(*this, sink);
}

void Replay(const RecordedDocument& document, DocumentSink& sink) {
    for (const Block& block : document.blocks()) {
        switch (block.kind) {
            case BlockKind::Cover:
                sink.Cover(block.cover);
                break;
            case BlockKind::Contents:
                sink.Contents(block.level);
                break;
            case BlockKind::Heading:
                sink.Heading(block.level, block.runs);
                break;
            case BlockKind::Paragraph:
                sink.Paragraph(block.runs);
                break;
            case BlockKind::Picture:
                sink.Picture(block.wmf, block.size);
                break;
            case BlockKind::Table:
                sink.Table(block.table);
                break;
            case BlockKind::PageBreak:
                sink.PageBreak();
                break;
        }
    }
}

}  // namespace quoinry::document
