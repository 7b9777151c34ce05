#pragma once

#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "design/verdicts.h"

namespace quoinry::shell {

// Shows a result box's text (CR LF separated lines); the lines of the verdicts that fail are red.
// `verdicts` belong to the lines that end the text, in their order. The box's plain text stays
// the text itself.
void ShowResult(QPlainTextEdit* box, const std::string& text,
                const std::vector<Verdict>& verdicts = {});

}  // namespace quoinry::shell
