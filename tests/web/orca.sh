#!/usr/bin/env bash
# What a blind student hears in the browser: the page opened from disk in
# Firefox ESR or Chromium on Xvfb under Orca, driven with real keys, the same
# presses heard once each as on the desktop (tests/lib/orca.sh). "framed": the
# page inside a course page's frame, from another origin on loopback, reached
# by Tab from the course page's field.
#   orca.sh firefox|chromium PAGE [framed]
set -euo pipefail
browser=$1
page=$(realpath "$2")
framed=${3:-}
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/../lib/check.sh"
private_session
source "$here/../lib/orca.sh"

address="file://$page"
if [ -n "$framed" ]; then
    # Two web servers on loopback: the page's site, and the course page's.
    free_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
    serve() { # serve DIR PORT
        python3 -m http.server --bind 127.0.0.1 --directory "$1" "$2" >/dev/null 2>&1 &
        poll --while "$!" python3 -c 'import socket, sys; socket.create_connection(("127.0.0.1", int(sys.argv[1])))' "$2" 2>/dev/null
    }
    mkdir -p "$work/site" "$work/course"
    cp "$page" "$work/site/integration-velmar.html"
    site_port=$(free_port)
    serve "$work/site" "$site_port"
    course_port=$(free_port)
    cat >"$work/course/course.html" <<HTML
<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Integration Velmar in a course page</title></head>
<body><h1>Numerical integration</h1><label>Notes <input id="notes" autofocus></label>
<iframe title="Integration Velmar" src="http://127.0.0.1:$site_port/integration-velmar.html" width="698" height="526"></iframe>
</body></html>
HTML
    serve "$work/course" "$course_port"
    address="http://127.0.0.1:$course_port/course.html"
fi

# A profile of the test's own, with no first-run pages or questions.
profile="$work/$browser"
mkdir -p "$profile"
if [ "$browser" = firefox ]; then
cat >"$work/firefox/user.js" <<'PREFS'
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("startup.homepage_welcome_url", "");
user_pref("startup.homepage_welcome_url.additional", "");
user_pref("browser.aboutwelcome.enabled", false);
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("datareporting.policy.firstRunURL", "");
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
user_pref("browser.startup.page", 0);
user_pref("browser.startup.firstrunSkipsHomepage", true);
user_pref("browser.newtabpage.enabled", false);
PREFS
    firefox-esr --no-remote --profile "$profile" "$address" >"$work/browser.log" 2>&1 &
else
    # Chromium's accessibility is on only when asked; its sandbox needs user
    # namespaces, which a root session does not get.
    chromium --force-renderer-accessibility --user-data-dir="$profile" --no-first-run \
        --no-default-browser-check $([ "$(id -u)" -ne 0 ] || echo --no-sandbox) \
        "$address" >"$work/browser.log" 2>&1 &
fi
browser_pid=$!
# The browser may show a window by that name and replace it a moment later:
# the focus goes to one that is still there.
focus_page() {
    local wid
    wid=$(xdotool search --onlyvisible --name '^Integration Velmar' | head -1)
    [ -n "$wid" ] && xdotool windowfocus --sync "$wid" 2>/dev/null
}
poll --while "$browser_pid" focus_page || { echo "the browser showed no page"; cat "$work/browser.log"; exit 1; }
if [ -n "$framed" ]; then
    # The course page keeps its focus: Orca speaks its field, not the frame's
    # canvas or box, until Tab goes into the frame (and from the field, the
    # one control before the frame, Tab reaches the canvas: checked below).
    # The field is "Notes entry", or "entry" alone when Orca asks before the
    # browser has named it.
    poll --while "$browser_pid" says "entry|Focus mode" || true
    poll --while "$browser_pid" quiet || true
    # When the field takes the focus before the browser's window is active,
    # Orca can enter focus mode on it without saying it: Orca's Where Am I
    # (keypad Enter) says what has the focus.
    if ! says "entry"; then
        xdotool key --clearmodifiers KP_Enter
        poll --while "$browser_pid" says "entry" || true
    fi
    check "framed: the course page keeps the focus" "1" \
        "$(says "entry" && ! says "Graph image" && ! says "Result" && echo 1 || echo "0: heard '$(heard)'")"
    from=$(mark)
    xdotool key --clearmodifiers Tab
fi
# Once the page has loaded (in a frame: once Tab has brought the focus in),
# Orca speaks the focused canvas and what it shows.
poll --while "$browser_pid" says "The sine curve over one period" || true
# The presses come once it has finished what it says of the loaded page.
poll --while "$browser_pid" quiet || true
# Whether the window's title is spoken as well depends on when the browser
# names its window; the page's title is the page test's to check.
check "start-up: the canvas" "1" "$(says "Graph image" && echo 1 || echo 0)"
check "start-up: what the canvas shows" "1" \
    "$(says "The sine curve over one period, from 0 to 2π, on axes." && echo 1 || echo 0)"

presses_and_results "Result entry"

xdotool key --clearmodifiers alt+x
finish "orca_$browser${framed:+_$framed}"
