#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <string>

#include "document/parted_document.h"

class QWidget;

namespace quoinry::shell {

// Tells the progress dialog how much of the work is done; may be called from any thread.
using Progressed = std::function<void(int done)>;
using ProgressWork = std::function<void(const std::atomic<bool>& stop, const Progressed&)>;

// Runs `work` on a thread of its own while a progress dialog (objectName `name`, titled `title`)
// shows what `work` reports of `total` and the windows stay painted; its 取消 sets `stop`, which
// `work` is given, also before `work` starts. Returns what `work` threw, described; empty when it
// did not.
std::string RunWithProgress(QWidget* parent, const char* name, const QString& title,
                            const QString& label, int total, const ProgressWork& work,
                            std::atomic<bool>& stop);

// The parts of a document as a writer asks for them, counted for the progress: a writer takes
// every part twice. May be asked from the writer's thread.
class CountedParts : public document::PartedDocument {
  public:
    explicit CountedParts(const document::PartedDocument& parts) : parts_(parts) {}
    // Set before the writer starts.
    void ReportTo(Progressed progressed) { progressed_ = std::move(progressed); }
    document::DocumentInfo Info() const override { return parts_.Info(); }
    std::size_t PartCount() const override { return parts_.PartCount(); }
    void ComposePart(std::size_t index, document::DocumentSink& sink) const override {
        parts_.ComposePart(index, sink);
        const int composed = composed_.fetch_add(1) + 1;
        if (progressed_)
            progressed_(composed);
    }

  private:
    const document::PartedDocument& parts_;
    Progressed progressed_;
    mutable std::atomic<int> composed_{0};
};

}  // namespace quoinry::shell
