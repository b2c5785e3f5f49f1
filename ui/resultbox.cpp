#include "ui/resultbox.h"

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

} // namespace ui
