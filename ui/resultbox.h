#pragma once

#include "app/boxtext.h"
#include "plot/canvas.h"

#include <QPlainTextEdit>
#include <QString>

namespace ui {

// The multi-line result box, by app::BoxText's rule: the text set reads back
// exactly, text typed by the user with CR LF line breaks.
//
// Text that comes in from outside, by any way (typed, pasted, dropped, committed
// by an input method, set through assistive technology), is cut at the rule's
// cap in one place, before the editor lays it out: one line of a megabyte would
// otherwise keep the editor busy for a minute.
class ResultBox : public QPlainTextEdit, public plot::TextBox
{
    Q_OBJECT

public:
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

    app::BoxText m_text;
    // What the editor shows, as it was given or as the user left it: its own
    // plain text would turn a no-break space into a space.
    std::string m_shown;
    bool m_setting = false;
    bool m_capping = false;
    QString m_preedit;       // what an input method is composing, not yet text
    bool m_dropping = false; // the composition was dropped; the input method has not let go
};

} // namespace ui
