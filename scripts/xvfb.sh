# Sourced: starts a private Xvfb on a free display and exports DISPLAY; stops it on exit.
# Never touches a display it did not start.
tb_start_xvfb() {
  local n
  for n in $(seq 91 160); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
    TB_XVFB_PID=$!
    for _ in $(seq 1 50); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        trap 'tb_stop_xvfb' EXIT
        return 0
      fi
      kill -0 "$TB_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}
tb_stop_xvfb() {
  [ -n "${TB_WINE_PREFIX_TO_STOP:-}" ] && WINEPREFIX=$TB_WINE_PREFIX_TO_STOP /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  [ -n "${TB_XVFB_PID:-}" ] && kill "$TB_XVFB_PID" 2>/dev/null || true
}
