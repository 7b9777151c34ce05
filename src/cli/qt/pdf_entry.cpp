#include <QGuiApplication>
#include <cstdio>
#include <memory>

#include "cli/qt/qt_commands.h"
#include "document/document_error.h"
#include "pdf/pdf_writer.h"

namespace {

// Qt's notes about its own set-up (no runtime folder, no session) mean nothing to the user of
// the command line; its critical messages still go through.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

extern "C" int QuoinryWritePdf(const quoinry::document::PartedDocument* document, const char* out,
                               quoinry::document::StopFlag stop,
                               std::vector<std::string>* messages) {
    // The command line has no windows: fonts and painting need an application all the same.
    std::unique_ptr<QGuiApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 3;
        static char name[] = "quoinry";
        static char platform[] = "-platform";
        static char offscreen[] = "offscreen";
        static char* argv[] = {name, platform, offscreen, nullptr};
        qInstallMessageHandler(QuietMessages);
        // Fonts in points, the unit the pages are laid out in (a device of 72 dots per inch):
        // at the screen's resolution Qt would convert the font of every run of text it lays out
        // to the page's, looking each up again under a lock both threads wait on, a sixth of the
        // time of a long PDF. The pages come out the same either way.
        qputenv("QT_FONT_DPI", "72");
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    try {
        *messages = quoinry::pdf::WritePdf(*document, out, quoinry::pdf::kDocumentFontFile, stop);
        return 0;
    } catch (const quoinry::document::DocumentError& error) {
        if (error.problem() == quoinry::document::DocumentProblem::Stopped)
            *messages = {};
        else
            *messages = {quoinry::document::ErrorLine(error)};
    } catch (const std::exception& error) {
        *messages = {std::string("当前错误:") + error.what()};
    }
    return 1;
}
