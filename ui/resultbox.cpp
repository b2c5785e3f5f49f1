#include "ui/resultbox.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace ui {

ResultBox::ResultBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    // Two result lines must fit in the box's 41 pixels.
    document()->setDocumentMargin(2);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QPlainTextEdit::textChanged, this, &ResultBox::documentEdited);
    connect(document(), &QTextDocument::contentsChange, this, &ResultBox::capInsertion);
}

namespace {

constexpr int kMaxTyped = int(app::BoxText::kMaxTyped);

} // namespace

std::string ResultBox::Text() const
{
    return m_text.read(m_shown);
}

void ResultBox::SetText(const std::string& text)
{
    // A conversion still pending in an input method is dropped: the input method
    // is told so, and if it commits the text all the same (some do, on being
    // reset), that late commit is not let into the new text.
    if (!m_preedit.isEmpty()) {
        m_dropping = true;
        m_preedit.clear();
        QGuiApplication::inputMethod()->reset();
    }
    m_shown = m_text.keepAndShow(text);
    m_setting = true;
    setPlainText(QString::fromStdString(m_shown));
    m_setting = false;
}

void ResultBox::documentEdited()
{
    if (m_setting)
        return;
    m_shown = toPlainText().toStdString();
}

// Laid out as the editor lays out its own text: each line as tall as the font
// engine makes it (often more than the rounded line spacing: Cantarell 12 lays
// out 20-pixel lines at a spacing of 19), the document's margin below the last
// one and above the first, and the editor scrolls as soon as the lines pass
// one pixel less than that.
int ResultBox::heightForTwoLines() const
{
    QTextDocument probe;
    auto* layout = new QPlainTextDocumentLayout(&probe);
    probe.setDocumentLayout(layout);
    probe.setDefaultFont(font());
    const qreal margin = document()->documentMargin();
    probe.setDocumentMargin(margin);
    probe.setPlainText(
        QStringLiteral("Integral Sin(x) [0,pi]=-6.44351424333978E-10\ndx= .0003141592654"));
    qreal lines = 0; // the last block's bounding rectangle includes the margin below it
    for (QTextBlock block = probe.begin(); block.isValid(); block = block.next())
        lines += layout->blockBoundingRect(block).height();
    return int(std::ceil(lines + margin + 1)) + 2 * frameWidth();
}

int ResultBox::room() const
{
    const int length = document()->characterCount() - 1; // less the closing separator
    return kMaxTyped - length + int(textCursor().selectedText().size());
}

void ResultBox::keyPressEvent(QKeyEvent* event)
{
    m_dropping = false; // a key the input method let through: it composes nothing
    const QString typed = event->text();
    // Alt with a key that is no access key types nothing, as desktop edit
    // boxes behave: a guessed Alt+E must not leave an "e" behind.
    if ((event->modifiers() & Qt::AltModifier) && !typed.isEmpty()) {
        event->ignore();
        return;
    }
    const bool inserts =
        !typed.isEmpty() &&
        (typed.at(0).isPrint() || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter);
    if (inserts && room() < typed.size()) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

// The document tells of a change before its layout sees it, so what is cut here
// is never laid out. The cut part leaves no trace in the undo history either:
// Undo could otherwise bring it back.
void ResultBox::capInsertion(int position, int /*removed*/, int added)
{
    if (m_setting || m_capping || added <= 0)
        return;
    const int length = document()->characterCount() - 1; // less the closing separator
    const int excess = length - kMaxTyped;
    if (excess <= 0)
        return;
    const int end = std::min(position + added, length);
    int start = std::max(position, end - excess);
    // Never split a character that takes two UTF-16 units.
    if (start > 0 && document()->characterAt(start - 1).isHighSurrogate())
        --start;
    m_capping = true;
    QTextCursor cut(document());
    cut.setPosition(start);
    cut.setPosition(end, QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    document()->clearUndoRedoStacks();
    m_capping = false;
}

// Dead keys, Compose and input methods commit their text here, not as key presses.
void ResultBox::inputMethodEvent(QInputMethodEvent* event)
{
    QString preedit = event->preeditString();
    QString commit = event->commitString();
    bool replaces = event->replacementLength() != 0;
    if (m_dropping) {
        // The composition dropped when the program set the text: what the input
        // method still does with it (shows it, deletes around the cursor, commits
        // it) does not touch the new text. Its commit, or an empty composition
        // that commits nothing, ends it.
        m_dropping = commit.isEmpty() && (!preedit.isEmpty() || replaces);
        preedit.clear();
        commit.clear();
        replaces = false;
    }
    m_preedit = preedit;
    if (preedit == event->preeditString() && commit == event->commitString() &&
        replaces == (event->replacementLength() != 0)) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent changed(preedit, preedit.isEmpty() ? QList<QInputMethodEvent::Attribute>()
                                                         : event->attributes());
    if (replaces)
        changed.setCommitString(commit, event->replacementStart(), event->replacementLength());
    else if (!commit.isEmpty())
        changed.setCommitString(commit);
    QPlainTextEdit::inputMethodEvent(&changed);
}

} // namespace ui
