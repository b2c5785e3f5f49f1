#pragma once

#include "plot/canvas.h"

#include <QPlainTextEdit>
#include <QString>

namespace ui {

// The multi-line result box. Its Text is the exact string last set or typed:
// the editor keeps a line break as a paragraph and drops a carriage return, so
// the box keeps the text itself and shows it with CR LF as a line break. Text
// typed by the user reads back with CR LF line breaks.
class ResultBox : public QPlainTextEdit, public plot::TextBox
{
    Q_OBJECT

public:
    explicit ResultBox(QWidget* parent = nullptr);

    std::string Text() const override;
    void SetText(const std::string& text) override;

private:
    void documentEdited();

    QString m_text;
    bool m_setting = false;
};

} // namespace ui
