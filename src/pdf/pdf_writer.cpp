#include "pdf/pdf_writer.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>

#include "common/version.h"
#include "document/document_error.h"
#include "document/staged_file.h"
#include "pdf/paged_document.h"

namespace quoinry::pdf {
namespace {

using document::DocumentError;
using document::DocumentProblem;

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// Draws pages with `draw` into a PDF at a temporary name beside `out`, checks that every byte
// reached the file (QPdfWriter does not notice a short write: a full disk, a file size limit),
// and only then puts it in place of `out`.
void WritePdfFile(const std::filesystem::path& out, const std::string& title,
                  const std::function<bool(QPdfWriter&, QPainter&)>& draw) {
    document::StagedFile staged(FolderOf(out));
    QFile file(QString::fromStdString(staged.path().string()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw DocumentError(DocumentProblem::DocumentUnwritable, out);
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setTitle(QString::fromStdString(title));
        writer.setCreator(QStringLiteral("Quoinry ") + QString::fromLatin1(kVersion));
        QPainter painter;
        if (!BeginPages(painter, writer, DocumentPageLayout()))
            throw DocumentError(DocumentProblem::DocumentUnwritable, out);
        const bool drawn = draw(writer, painter);
        if (!painter.end() || !drawn)
            throw DocumentError(DocumentProblem::DocumentUnwritable, out);
    }
    // The writer may have closed the file already; closing flushes what is left.
    if (file.isOpen())
        file.close();
    if (file.error() != QFileDevice::NoError)
        throw DocumentError(DocumentProblem::DocumentUnwritable, out);
    if (!staged.MoveTo(out))
        throw DocumentError(DocumentProblem::DocumentUnwritable, out, staged.error());
}

// The first pass over the parts after the first: their headings with pages counted from the
// first part's end, and their page counts.
struct LaterParts {
    std::vector<ContentsEntry> headings;
    std::vector<int> pages;
    int total = 0;
};

// One later part as the first pass measures it.
struct PartMeasure {
    std::vector<ContentsEntry> headings;
    int pages = 0;
};

// The first pass on two threads, each laying out whole parts and keeping only their page counts
// and headings; a thread's fonts and texts never leave it. Parts are composed one at a time and
// in order (composing keeps a part's warnings once, and not on two threads at once).
std::vector<PartMeasure> MeasureInParallel(const document::PartedDocument& document,
                                           const PageLayout& layout, const QString& family,
                                           document::StopFlag stop,
                                           const std::filesystem::path& out) {
    const std::size_t parts = document.PartCount();
    std::vector<PartMeasure> measures(parts > 0 ? parts - 1 : 0);
    std::mutex composing;
    std::size_t next = 1;
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    auto measure = [&] {
        try {
            while (!failed.load()) {
                std::size_t part = 0;
                document::RecordedDocument recorded;
                {
                    const std::lock_guard lock(composing);
                    if (next >= parts)
                        return;
                    part = next++;
                    document::ThrowIfStopped(stop, out);
                    document.ComposePart(part, recorded);
                }
                const LaidOutPart laid_out(recorded, 0, layout, family, nullptr, nullptr);
                measures[part - 1] = {laid_out.headings(), laid_out.PageCount()};
            }
        } catch (...) {
            const std::lock_guard lock(composing);
            if (!failure)
                failure = std::current_exception();
            failed.store(true);
        }
    };
    std::unique_ptr<QThread> helper(QThread::create(measure));
    helper->start();
    measure();
    helper->wait();
    if (failure)
        std::rethrow_exception(failure);
    return measures;
}

LaterParts MeasureLaterParts(const document::PartedDocument& document, const PageLayout& layout,
                             const QString& family, document::StopFlag stop,
                             const std::filesystem::path& out) {
    LaterParts later;
    for (const PartMeasure& measure : MeasureInParallel(document, layout, family, stop, out)) {
        for (ContentsEntry heading : measure.headings) {
            heading.page += later.total;
            later.headings.push_back(std::move(heading));
        }
        later.pages.push_back(measure.pages);
        later.total += measure.pages;
    }
    return later;
}

// The second pass lays the later parts out on a thread of its own, at most two parts ahead of
// the pages being drawn, and hands each over to the drawing thread. The thread stays until the
// PDF is finished: the fonts it loaded, which the parts' lines refer to, are kept by it.
class PartsAhead {
  public:
    PartsAhead(const document::PartedDocument& document, const PageLayout& layout,
               const QString& family, document::StopFlag stop, const std::filesystem::path& out)
        : document_(document),
          layout_(layout),
          family_(family),
          stop_(stop),
          out_(out),
          reader_(QThread::currentThread()),
          thread_(QThread::create([this] { LayOut(); })) {
        thread_->start();
    }
    ~PartsAhead() {
        {
            const std::lock_guard lock(mutex_);
            quit_ = true;
        }
        changed_.notify_all();
        thread_->wait();
    }
    PartsAhead(const PartsAhead&) = delete;
    PartsAhead& operator=(const PartsAhead&) = delete;

    // The next part, in order; throws what laying it out threw.
    std::unique_ptr<LaidOutPart> Next() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !ready_.empty() || failure_; });
        if (ready_.empty())
            std::rethrow_exception(failure_);
        std::unique_ptr<LaidOutPart> part = std::move(ready_.front());
        ready_.pop_front();
        changed_.notify_all();
        return part;
    }

  private:
    static constexpr std::size_t kAhead = 2;

    void LayOut() {
        try {
            for (std::size_t part = 1; part < document_.PartCount(); ++part) {
                {
                    std::unique_lock lock(mutex_);
                    changed_.wait(lock, [this] { return quit_ || ready_.size() < kAhead; });
                    if (quit_)
                        return;
                }
                document::ThrowIfStopped(stop_, out_);
                auto laid_out = std::make_unique<LaidOutPart>(document_, part, layout_, family_,
                                                              nullptr, nullptr,
                                                              /*keep_glyphs=*/true);
                laid_out->MoveToThread(reader_);
                const std::lock_guard lock(mutex_);
                ready_.push_back(std::move(laid_out));
                changed_.notify_all();
            }
        } catch (...) {
            const std::lock_guard lock(mutex_);
            failure_ = std::current_exception();
            changed_.notify_all();
        }
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return quit_; });
    }

    const document::PartedDocument& document_;
    const PageLayout& layout_;
    const QString& family_;
    document::StopFlag stop_;
    const std::filesystem::path& out_;
    QThread* reader_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<LaidOutPart>> ready_;
    std::exception_ptr failure_;
    bool quit_ = false;
    std::unique_ptr<QThread> thread_;
};

void AddWarnings(document::Warnings& warnings, const document::Warnings& more) {
    for (const std::string& warning : more)
        if (std::find(warnings.begin(), warnings.end(), warning) == warnings.end())
            warnings.push_back(warning);
}

}  // namespace

void WritePdf(const PagedDocument& pages, const std::filesystem::path& out) {
    WritePdfFile(out, pages.info().title, [&](QPdfWriter& writer, QPainter& painter) {
        for (int page = 0; page < pages.PageCount(); ++page) {
            if (page > 0 && !writer.newPage())
                return false;
            pages.PaintPage(painter, page);
        }
        return true;
    });
}

document::Warnings WritePdf(const document::PartedDocument& document,
                            const std::filesystem::path& out,
                            const std::filesystem::path& font_file, document::StopFlag stop) {
    const QString family = DocumentFontFamily(font_file);
    const PageLayout layout = DocumentPageLayout();
    const LaterParts later = MeasureLaterParts(document, layout, family, stop, out);
    document::ThrowIfStopped(stop, out);
    std::unique_ptr<LaidOutPart> first = SettleFirstPart(document, layout, family, later.headings);
    // Composing is not asked of two threads at once.
    PartsAhead ahead(document, layout, family, stop, out);
    const int total = first->PageCount() + later.total;
    document::Warnings warnings = first->warnings();
    WritePdfFile(out, document.Info().title, [&](QPdfWriter& writer, QPainter& painter) {
        int number = 0;
        auto paint = [&](const LaidOutPart& part) {
            for (int page = 0; page < part.PageCount(); ++page) {
                document::ThrowIfStopped(stop, out);
                if (number > 0 && !writer.newPage())
                    return false;
                part.PaintPage(painter, page, ++number, total);
            }
            return true;
        };
        if (!paint(*first))
            return false;
        // The contents of a large project are hundreds of pages: not kept while the rest is drawn.
        first.reset();
        for (std::size_t part = 1; part < document.PartCount(); ++part) {
            const std::unique_ptr<LaidOutPart> laid_out = ahead.Next();
            // The first pass counted these pages: a part that came out otherwise changed.
            if (laid_out->PageCount() != later.pages[part - 1])
                throw DocumentError(DocumentProblem::ReportUnreadable, out);
            AddWarnings(warnings, laid_out->warnings());
            if (!paint(*laid_out))
                return false;
        }
        return true;
    });
    return warnings;
}

}  // namespace quoinry::pdf
