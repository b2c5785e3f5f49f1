#include "ui/resultbox.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

#include <algorithm>

namespace ui {

ResultBox::ResultBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    // Two result lines must fit in the box's 41 pixels.
    document()->setDocumentMargin(2);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QPlainTextEdit::textChanged, this, &ResultBox::documentEdited);
}

std::string ResultBox::Text() const
{
    return m_text.toStdString();
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
    m_text = QString::fromStdString(text);
    QString shown = m_text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_setting = true;
    setPlainText(shown);
    m_setting = false;
}

void ResultBox::documentEdited()
{
    if (m_setting)
        return;
    m_text = toPlainText();
    m_text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
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

QString ResultBox::capped(const QString& text) const
{
    const int keep = std::max(0, room());
    if (text.size() <= keep)
        return text;
    // Never split a character that takes two UTF-16 units.
    return text.left(keep > 0 && text.at(keep - 1).isHighSurrogate() ? keep - 1 : keep);
}

void ResultBox::insertFromMimeData(const QMimeData* source)
{
    const QString text = source->text();
    const QString kept = capped(text);
    if (kept.size() == text.size()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QMimeData cut;
    cut.setText(kept);
    QPlainTextEdit::insertFromMimeData(&cut);
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
    commit = capped(commit);
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
