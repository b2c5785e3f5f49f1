#include "ui/resultbox.h"

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

void ResultBox::insertFromMimeData(const QMimeData* source)
{
    const QString text = source->text();
    const int keep = std::max(0, room());
    if (text.size() <= keep) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    // Never split a character that takes two UTF-16 units.
    const int cut = keep > 0 && text.at(keep - 1).isHighSurrogate() ? keep - 1 : keep;
    QMimeData capped;
    capped.setText(text.left(cut));
    QPlainTextEdit::insertFromMimeData(&capped);
}

} // namespace ui
