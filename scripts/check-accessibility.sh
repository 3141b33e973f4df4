#!/usr/bin/env bash
# Reads the client through AT-SPI, the bridge that screen readers such as Orca
# use: starts an X server of its own (Xvfb) and a D-Bus session with the
# accessibility bus, runs the client there with the demo world and lets
# check_accessibility.py read its main window and the search dialog (with
# --all also the group information, conversation, blacklist and history
# windows and the emoticon grid). Fails when an interactive control has no
# accessible name, a window opened from the client's menus does not report
# its focused control, or an editor's accessible text holds the object
# replacement character. With --english the client runs at en_US over a
# world of English names, and any CJK character in those windows fails too.
#
#   scripts/check-accessibility.sh [BUILD_DIR] [--all] [--english]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then build=$1; shift; fi

if [ "${1:-}" = "--inside" ]; then
    # In the D-Bus session: the client, then the reader; the client goes
    # whatever the reader says.
    shift
    client=$1; shift
    language=(--lang zh_CN)
    case " $* " in *" --english "*) language=(--lang en_US --world tests/scenarios/worlds/english.json) ;; esac
    "$client" "${language[@]}" --delay 0 >"$ACCESSIBILITY_WORK/client.log" 2>&1 &
    pid=$!
    status=0
    timeout 150 /usr/bin/python3 scripts/check_accessibility.py "$pid" "$@" || status=$?
    if ! kill "$pid" 2>/dev/null; then
        wait "$pid" || echo "check-accessibility: the client ended by itself with status $?"
        status=1
    else
        # 143 is the TERM just sent; anything else (134 for an abort, 139 for
        # a crash) means the client failed on its way out, or before the
        # signal came.
        ended=0
        wait "$pid" 2>/dev/null || ended=$?
        if [ "$ended" -ne 0 ] && [ "$ended" -ne 143 ]; then
            echo "check-accessibility: the client ended with status $ended, not by the TERM signal"
            status=1
        fi
    fi
    [ "$status" -eq 0 ] || sed 's/^/client: /' "$ACCESSIBILITY_WORK/client.log" | tail -20
    exit "$status"
fi

client=$(cd "$build" && pwd)/bin/tarvolan-client
[ -x "$client" ] || { echo "check-accessibility: no client at $client (build first)"; exit 2; }
for tool in Xvfb dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "check-accessibility: $tool is missing (scripts/install-deps.sh)"; exit 2; }
done
# Debian's own Python, which holds python3-pyatspi (a python3 earlier on PATH may not).
python=/usr/bin/python3
"$python" -c 'import pyatspi' 2>/dev/null || { echo "check-accessibility: python3-pyatspi is missing"; exit 2; }

work=$(mktemp -d)
xvfb=""
cleanup() {
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb takes a free display number and writes it to descriptor 3. Without
# -noreset it resets whenever its last client leaves and refuses whoever
# connects meanwhile: a short-lived X client of the accessibility bus could
# leave just as the client connected, and Qt aborts when it finds no display.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "check-accessibility: Xvfb did not start"; cat "$work/xvfb.log"; exit 1
fi

mkdir -m 700 "$work/runtime" "$work/config"
# Settings, the session's runtime files and the client's remembered window
# stay in the work folder; the bridge is on whatever the desktop says.
export DISPLAY=":$(head -n1 "$work/display")" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
       QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0 \
       ACCESSIBILITY_WORK="$work"
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
status=0
timeout 200 dbus-run-session -- "$0" "$build" --inside "$client" "$@" 2>"$work/session.log" || status=$?
[ "$status" -eq 0 ] || tail -30 "$work/session.log"
exit "$status"
