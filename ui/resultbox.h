#pragma once

#include "plot/canvas.h"

#include <QPlainTextEdit>
#include <QString>

namespace ui {

// The multi-line result box. Its Text is the exact string last set or typed:
// the editor keeps a line break as a paragraph and drops a carriage return, so
// the box keeps the text itself and shows it with CR LF as a line break. Text
// typed by the user reads back with CR LF line breaks.
//
// Text that comes in from outside, by any way (typed, pasted, dropped, committed
// by an input method, set through assistive technology), is cut at kMaxTyped
// characters in one place, before the editor lays it out: one line of a
// megabyte would otherwise keep the editor busy for a minute. Text set by the
// program is never cut.
class ResultBox : public QPlainTextEdit, public plot::TextBox
{
    Q_OBJECT

public:
    static constexpr int kMaxTyped = 65535;

    explicit ResultBox(QWidget* parent = nullptr);

    std::string Text() const override;
    void SetText(const std::string& text) override;

    // The outer height at which two result lines show whole in the box's
    // present font, with nothing to scroll.
    int heightForTwoLines() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Characters that may still be typed in place of the selection.
    int room() const;
    // The gate: cuts what the change at position brought in beyond the cap.
    void capInsertion(int position, int removed, int added);

    void documentEdited();

    QString m_text;
    bool m_setting = false;
    bool m_capping = false;
    QString m_preedit;       // what an input method is composing, not yet text
    bool m_dropping = false; // the composition was dropped; the input method has not let go
};

} // namespace ui
