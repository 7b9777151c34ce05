#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>

#include "document/document_sink.h"

namespace quoinry::document {

// A document composed part by part, so that a writer holds one part at a time however long the
// document is (a project of a thousand positions). A writer takes every part twice: once for
// what needs the whole document (the contents' entries and pages, the page count, the size of
// the text), once to write it; a part must give the same blocks each time. Every part after the
// first starts with a page break, so that the writers lay each part out on pages of its own.
class PartedDocument {
  public:
    virtual ~PartedDocument() = default;

    virtual DocumentInfo Info() const = 0;
    virtual std::size_t PartCount() const = 0;
    // Hands the blocks of part `index` (from 0) to `sink`. May throw DocumentError.
    virtual void ComposePart(std::size_t index, DocumentSink& sink) const = 0;
};

// Set by Ctrl+C or SIGTERM: a writer that sees it stops at the next part or page, throws
// DocumentError (DocumentProblem::Stopped) and leaves nothing behind. Nothing: never stopped.
using StopFlag = const std::atomic<bool>*;

// Throws DocumentError(Stopped) naming `out` when `stop` is set.
void ThrowIfStopped(StopFlag stop, const std::filesystem::path& out);

}  // namespace quoinry::document
