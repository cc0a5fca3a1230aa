#include "ui/editor/FinishedLines.h"

#include <QTextBlock>
#include <QTextDocument>

namespace tarnik {
namespace {

// The mark is the block's user data: it stays with its line when lines are
// added or removed before it. Nothing else in the editor uses user data.
struct FinishedMark : QTextBlockUserData {};

}  // namespace

FinishedLines::FinishedLines(QTextDocument& document) : QObject(&document), m_document(document)
{
    connect(&document, &QTextDocument::contentsChange, this, &FinishedLines::unmarkChanged);
}

bool FinishedLines::isMarked(const QTextBlock& line)
{
    return dynamic_cast<const FinishedMark*>(line.userData()) != nullptr;
}

void FinishedLines::mark(QTextBlock& line)
{
    if (!isMarked(line)) line.setUserData(new FinishedMark);
}

void FinishedLines::markAll(const QTextDocument& document)
{
    for (QTextBlock line = document.firstBlock(); line.isValid(); line = line.next()) mark(line);
}

// The lines from the change's start to the end of what it added.
void FinishedLines::unmarkChanged(int position, int /*charsRemoved*/, int charsAdded)
{
    const QTextBlock last = m_document.findBlock(position + charsAdded);
    for (QTextBlock line = m_document.findBlock(position); line.isValid(); line = line.next()) {
        if (line.userData()) line.setUserData(nullptr);
        if (line == last) break;
    }
}

}  // namespace tarnik
