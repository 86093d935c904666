#!/usr/bin/env bash
# Runs a test program under its own X server and session bus, where the accessibility bus starts
# on demand as it does on a desktop. Where a piece is missing the program runs offscreen with
# SPK_ATSPI_MISSING naming it, and skips.
set -u
missing=()
command -v xvfb-run >/dev/null || missing+=(xvfb)
command -v dbus-run-session >/dev/null || missing+=(dbus)
command -v dbus-send >/dev/null || missing+=(dbus-bin)
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=(at-spi2-core)
if ((${#missing[@]})); then
    SPK_ATSPI_MISSING="${missing[*]}" QT_QPA_PLATFORM=offscreen exec "$@"
fi
# dbus-run-session keeps its own files in the runtime folder.
if [ -n "${XDG_RUNTIME_DIR:-}" ]; then mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"; fi
inner='dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null && exec "$@"'
# Qt joins the accessibility bus once it has been started (the GetAddress call above starts it).
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    exec xvfb-run -a -s "-screen 0 1024x800x24 -nolisten tcp" \
    dbus-run-session -- bash -c "$inner" onatspibus "$@"
