#pragma once

#include <string>
#include <vector>

#include "document/recorded_document.h"

// The commands that need Qt live in a module of their own, loaded only when one of them runs,
// so that the calculation commands start without loading Qt.
namespace quoinry::cli {

int StationsCommand(const std::vector<std::string>& args);
int ProfilesCommand(const std::vector<std::string>& args);
int DbCommand(const std::vector<std::string>& args);

}  // namespace quoinry::cli

namespace quoinry {
class ProfileLibrary;
}

// The profile library of the engineering database for a batch; the caller owns it.
extern "C" quoinry::ProfileLibrary* QuoinryNewProfileLibrary();

// The module's entry: runs `command` with the arguments after its name; returns the exit status.
extern "C" int QuoinryQtCommand(const char* command, int argc, const char* const* argv);

// Writes `document` as a PDF to `out`, a part at a time; returns 0 with the warnings in
// `messages`, or 1 with the error line there (none when `stop` was set). Both sides are built
// from the same sources, so the document passes as it is.
extern "C" int QuoinryWritePdf(const quoinry::document::PartedDocument* document, const char* out,
                               quoinry::document::StopFlag stop,
                               std::vector<std::string>* messages);
