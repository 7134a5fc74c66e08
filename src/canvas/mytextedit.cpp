#include "mytextedit.h"

#include "document/textcheck.h"

#include <QKeyEvent>
#include <QMimeData>

namespace {

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator
        || c == QChar::ParagraphSeparator;
}

} // namespace

MyTextEdit::MyTextEdit(QWidget *pParent)
    : QTextEdit(pParent)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    setPalette(pal);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::NoWrap);
    setAcceptRichText(false);
}

void MyTextEdit::keyPressEvent(QKeyEvent *pEvent)
{
    const bool enter = pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter;
    if (pEvent->key() == Qt::Key_Escape
        || (enter && pEvent->modifiers().testFlag(Qt::ControlModifier))) {
        pEvent->accept();
        return;
    }
    if (isFull(pEvent)) {
        pEvent->accept();
        return;
    }
    QTextEdit::keyPressEvent(pEvent);
}

bool MyTextEdit::isFull(const QKeyEvent *pEvent) const
{
    const bool enter = pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter;
    const QString typed = pEvent->text();
    if (!enter && (typed.isEmpty() || !typed.at(0).isPrint()))
        return false;
    const qsizetype freed = textCursor().selectedText().size();
    return !TextCheck::hasRoom(*document(), enter ? 1 : typed.size() - freed, enter ? 1 : 0);
}

// A paste keeps what fits and leaves out the rest.
void MyTextEdit::insertFromMimeData(const QMimeData *pSource)
{
    QString text = pSource->text();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    qsizetype room = TextCheck::MaxCharacters - (document()->characterCount() - 1)
        + textCursor().selectedText().size();
    qsizetype lines = TextCheck::MaxLines - TextCheck::lineCount(*document());
    qsizetype end = 0;
    for (; end < text.size() && room > 0; ++end, --room)
        if (isLineBreak(text.at(end)) && --lines < 0)
            break;
    insertPlainText(text.left(end));
}
