// Prints the program's icon, its artwork's shapes and its SVG, as JSON for the
// course site's build (web/site.mjs), which draws its PNG icons from them.
#include "icons/artwork.h"

#include <cstdio>
#include <string>

namespace {

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out + '"';
}

} // namespace

int main()
{
    std::string out = "{\"svg\": " + quoted(icons::svg()) + ", \"shapes\": [";
    const char* separator = "";
    for (const icons::Shape& s : icons::artwork()) {
        out += separator;
        separator = ", ";
        out += std::string("{\"fill\": ") + (s.kind == icons::Kind::Fill ? "true" : "false") +
               ", \"colour\": " + std::to_string(s.colour) + ", \"points\": [";
        const char* comma = "";
        for (const icons::Point& p : s.points) {
            char point[64];
            std::snprintf(point, sizeof point, "%s[%.17g, %.17g]", comma, p.x, p.y);
            out += point;
            comma = ", ";
        }
        out += "]}";
    }
    std::printf("%s]}\n", out.c_str());
}
