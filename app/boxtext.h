#pragma once

#include <cstddef>
#include <string>

namespace app {

// The result box's text, whatever shows it. A box shows a line break as LF
// alone, so the text the program set is kept as it was set and shown with each
// CR LF, and each lone CR, as LF. While the box shows what it was given, its
// text reads back exactly as set; once the user has changed it, it reads back
// as shown, with CR LF line breaks.
class BoxText
{
public:
    // The most characters the user may bring into the box, by any way. Text set
    // by the program is never cut.
    static constexpr std::size_t kMaxTyped = 65535;

    // Keeps text; returns what the box is to show of it.
    std::string keepAndShow(const std::string& text);
    // The text, given what the box shows now.
    std::string read(const std::string& shown) const;

private:
    std::string m_text;
    std::string m_shown;
};

} // namespace app
