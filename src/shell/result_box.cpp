#include "shell/result_box.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>

#include "shell/form_helpers.h"

namespace quoinry::shell {

void ShowResult(QPlainTextEdit* box, const std::string& text,
                const std::vector<Verdict>& verdicts) {
    box->setPlainText(BoxText(text));
    QTextDocument* document = box->document();
    const int first = document->blockCount() - static_cast<int>(verdicts.size());
    if (text.empty() || first < 0)
        return;
    QTextCharFormat failed;
    failed.setForeground(QColor(0xC0, 0x00, 0x00));
    failed.setFontWeight(QFont::Bold);
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        if (verdicts[i].ok)
            continue;
        const QTextBlock line = document->findBlockByNumber(first + static_cast<int>(i));
        QTextCursor cursor(line);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(failed);
    }
}

}  // namespace quoinry::shell
