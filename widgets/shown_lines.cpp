#include "widgets/shown_lines.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

namespace belvorine {

QStringList shownLines(const QPlainTextEdit* edit, int count) {
    QStringList lines;
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(edit->document()->documentLayout());
    // Before the edit is shown its width is not the one the user sees.
    const bool wrapped = layout && edit->isVisible();
    for (QTextBlock block = edit->document()->begin(); block.isValid() && lines.size() < count;
         block = block.next()) {
        const QString text = block.text();
        if (wrapped) {
            layout->ensureBlockLayout(block);
        }
        const QTextLayout* blockLayout = block.layout();
        if (!wrapped || !blockLayout || blockLayout->lineCount() == 0) {
            lines << text;
            continue;
        }
        for (int i = 0; i < blockLayout->lineCount() && lines.size() < count; ++i) {
            const QTextLine line = blockLayout->lineAt(i);
            lines << text.mid(line.textStart(), line.textLength());
        }
    }
    return lines;
}

}  // namespace belvorine
