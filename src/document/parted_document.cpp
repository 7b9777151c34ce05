#include "document/parted_document.h"

#include "document/document_error.h"

namespace quoinry::document {

void ThrowIfStopped(StopFlag stop, const std::filesystem::path& out) {
    if (stop != nullptr && stop->load())
        throw DocumentError(DocumentProblem::Stopped, out);
}

}  // namespace quoinry::document
