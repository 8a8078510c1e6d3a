#!/usr/bin/env bash
# The Wine session that test.sh and run.sh share: an Xvfb screen when needed,
# a 64-bit prefix set up once (crashes exit at once, no window-manager stalls,
# Japanese fonts), and a persistent, warmed wineserver.
#
#   source scripts/wine-session.sh
#   trap wine_session_stop EXIT
#   wine_session_start build/windows/wineprefix        # always its own Xvfb
#   wine_session_start build/windows/wineprefix keep   # $DISPLAY if set
#   WINE_SESSION_SCREEN=2304x1024x24 wine_session_start ...  # another screen
#
# After wine_session_start: DISPLAY, WINEPREFIX, WINEARCH, WINEDEBUG and
# WINEDLLOVERRIDES are exported; WINE_SESSION_XVFB_PID is the Xvfb we started
# (empty when none). wine_session_stop ends every process of the prefix and
# that Xvfb, and may be called any number of times.

WINE_SESSION_FIRST_DISPLAY=${WINE_SESSION_FIRST_DISPLAY:-91}
WINE_SESSION_XVFB_PID=""
WINE_SESSION_PREFIX=""
WINE_SESSION_LOG=""
# Bump when the prefix set-up below changes, so old prefixes get it again.
WINE_SESSION_SETUP_VERSION=1

_wine_session_say() { echo "wine-session: $*" >&2; }

# Starts Xvfb on the first free display from WINE_SESSION_FIRST_DISPLAY on,
# and waits until it accepts connections. Exports DISPLAY.
wine_session_start_xvfb() {
  local n ready
  for ((n = WINE_SESSION_FIRST_DISPLAY; n < WINE_SESSION_FIRST_DISPLAY + 60; n++)); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    ready=$(mktemp)
    # -displayfd: Xvfb writes the display number once it is ready.
    Xvfb ":$n" -screen 0 "${WINE_SESSION_SCREEN:-1280x1024x24}" -nolisten tcp -displayfd 3 \
      3>"$ready" </dev/null >>"$WINE_SESSION_LOG" 2>&1 &
    WINE_SESSION_XVFB_PID=$!
    local waited_ms=0
    while [ ! -s "$ready" ] && kill -0 "$WINE_SESSION_XVFB_PID" 2>/dev/null &&
      ((waited_ms < 15000)); do
      sleep 0.1
      waited_ms=$((waited_ms + 100))
    done
    if [ -s "$ready" ]; then
      rm -f "$ready"
      export DISPLAY=":$n"
      return 0
    fi
    rm -f "$ready"
    # Taken in the meantime, or too slow: try the next number.
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    WINE_SESSION_XVFB_PID=""
  done
  _wine_session_say "no free X display found (log: $WINE_SESSION_LOG)"
  return 1
}

# One-time set-up of a new prefix; every step can be run again safely.
_wine_session_setup_prefix() {
  local reg='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
  # No debugger, started without asking: a crash exits at once (code 5)
  # instead of waiting in winedbg or its dialog.
  wine reg add "$reg\\AeDebug" /v Debugger /d '' /f || return 1
  wine reg add "$reg\\AeDebug" /v Auto /d 1 /f || return 1
  # Unmanaged windows: no 2 s stall when a window hides without a window manager.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f || return 1
  # Japanese fonts (values with Japanese names need a UTF-8 locale).
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
  local r='HKCU\Software\Wine\Fonts\Replacements' name
  LC_ALL=C.UTF-8 wine reg add "$r" /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f || return 1
  LC_ALL=C.UTF-8 wine reg add "$r" /v 'ＭＳ ゴシック' /d IPAGothic /f || return 1
  wine reg add "$r" /v 'MS PGothic' /d IPAPGothic /f || return 1
  wine reg add "$r" /v 'MS Gothic' /d IPAGothic /f || return 1
  wine reg add "$r" /v 'MS UI Gothic' /d IPAPGothic /f || return 1
  for name in Tahoma 'Tahoma Bold' 'MS Shell Dlg' 'MS Shell Dlg 2' \
    'Microsoft Sans Serif' 'Segoe UI' System; do
    wine reg add "$reg\\FontLink\\SystemLink" /v "$name" /t REG_MULTI_SZ \
      /d 'ipagp.ttf,IPAPGothic\0ipag.ttf,IPAGothic' /f || return 1
  done
}

# wine_session_start PREFIX [keep]
# With "keep", an existing $DISPLAY is used; otherwise (and when DISPLAY is
# empty) the session runs on its own Xvfb.
wine_session_start() {
  local prefix=$1 display_mode=${2:-own}
  mkdir -p "$prefix"
  prefix=$(cd "$prefix" && pwd)
  WINE_SESSION_LOG="$(dirname "$prefix")/wine-session.log"
  : >"$WINE_SESSION_LOG"

  WINE_SESSION_PREFIX="$prefix"
  export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

  if [ "$display_mode" != keep ] || [ -z "${DISPLAY:-}" ]; then
    wine_session_start_xvfb || return 1
  fi

  # A persistent server, warmed by wineboot below: without it each program
  # waits for the last one's server to linger out, and ctest can hang on the
  # helpers' pipes. Wine's helpers outlive the command that starts them: their
  # output goes to the log, never to a pipe that a caller (ctest, CI) reads.
  if ! timeout 30 wineserver -p </dev/null >>"$WINE_SESSION_LOG" 2>&1; then
    # A server of this prefix already runs (a wine started by hand, another
    # session): end it and its programs, and start ours.
    _wine_session_say "ending the wineserver that already ran for this prefix"
    timeout 30 wineserver -k </dev/null >>"$WINE_SESSION_LOG" 2>&1
    timeout 30 wineserver -w </dev/null >>"$WINE_SESSION_LOG" 2>&1
    timeout 30 wineserver -p </dev/null >>"$WINE_SESSION_LOG" 2>&1 || {
      _wine_session_say "wineserver -p failed (log: $WINE_SESSION_LOG)"
      return 1
    }
  fi
  local stamp="$prefix/.hopla-setup"
  if [ "$(cat "$stamp" 2>/dev/null)" != "$WINE_SESSION_SETUP_VERSION" ]; then
    _wine_session_say "preparing the Wine prefix $prefix"
    local started=$SECONDS
    timeout 300 wineboot -i </dev/null >>"$WINE_SESSION_LOG" 2>&1 || {
      _wine_session_say "wineboot -i failed (log: $WINE_SESSION_LOG)"
      return 1
    }
    _wine_session_setup_prefix </dev/null >>"$WINE_SESSION_LOG" 2>&1 || {
      _wine_session_say "prefix set-up failed (log: $WINE_SESSION_LOG)"
      return 1
    }
    echo "$WINE_SESSION_SETUP_VERSION" >"$stamp"
    _wine_session_say "prefix ready in $((SECONDS - started)) s"
  fi
  timeout 120 wineboot </dev/null >>"$WINE_SESSION_LOG" 2>&1 || {
    _wine_session_say "wineboot failed (log: $WINE_SESSION_LOG)"
    return 1
  }
  return 0
}

# Ends every process of the prefix, then the Xvfb we started.
wine_session_stop() {
  if [ -n "$WINE_SESSION_PREFIX" ]; then
    WINEPREFIX="$WINE_SESSION_PREFIX" timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
    WINEPREFIX="$WINE_SESSION_PREFIX" timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
    WINE_SESSION_PREFIX=""
  fi
  if [ -n "$WINE_SESSION_XVFB_PID" ]; then
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    local waited=0
    while kill -0 "$WINE_SESSION_XVFB_PID" 2>/dev/null && ((waited < 50)); do
      sleep 0.1
      waited=$((waited + 1))
    done
    kill -9 "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    WINE_SESSION_XVFB_PID=""
  fi
}
