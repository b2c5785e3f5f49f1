#include "app/boxtext.h"

namespace app {

std::string BoxText::keepAndShow(const std::string& text)
{
    m_text = text;
    m_shown.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r')
            m_shown += text[i];
        else if (i + 1 == text.size() || text[i + 1] != '\n')
            m_shown += '\n'; // a lone CR; a CR before LF goes with it
    }
    return m_shown;
}

std::string BoxText::read(const std::string& shown) const
{
    if (shown == m_shown)
        return m_text;
    std::string text;
    for (char c : shown) {
        if (c == '\n')
            text += '\r';
        text += c;
    }
    return text;
}

} // namespace app
