# Sourced by the Player's benchmark scripts: a private Xvfb for the whole script, and medians.
command -v Xvfb >/dev/null || { echo "Xvfb is missing (package xvfb)"; exit 1; }

# Starts Xvfb on a free-looking display with the given screen ("WxHxD"); sets $display and $xvfb.
# -noreset: otherwise the server resets whenever its last client leaves, and a program started in
# that moment cannot connect.
start_xvfb() {
  display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 "$1" -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null' EXIT
  sleep 1
}

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
