#!/usr/bin/env bash
# Feeds the status monitor a scripted session, as a parent program would: the monitor
# is started with this script's process id as its command line and a pipe of framed
# commands on its standard input; its one-letter replies (UTF-16LE) are shown at the end.
#
#   examples/status-demo.sh                  # on a desktop
#   xvfb-run -a examples/status-demo.sh      # without one
#   STATUS_DEMO_SCREENSHOT=shot.png xvfb-run -a examples/status-demo.sh
#                                            # also a screenshot mid-session (ImageMagick's import)
#
# STATUS_DEMO_STEP sets the pause between steps in seconds (default 1). Without any
# display the monitor runs offscreen (nothing to see, but the session and the reply run).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build}
status="$build_dir/bin/status"
if [ ! -x "$status" ]; then
  bash scripts/setup.sh
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "status-demo: no display, running offscreen (try: xvfb-run -a $0)" >&2
  export QT_QPA_PLATFORM=offscreen
fi
step=${STATUS_DEMO_STEP:-1}
shot=${STATUS_DEMO_SCREENSHOT:-}

# One framed command. A "(" or ")" inside the text is written as code 6 or code 7.
send() { printf '(%s)' "$1"; }
open6=$(printf '\006')
close7=$(printf '\007')

session() {
  send "INIT LARKON demo ${open6}run 1${close7}"  # caption "LARKON demo (run 1)", the Larkon icon
  send "MSG1 Reading flow files"
  send "MSG2 left"
  send "MSG3 gage 1 of 4"
  send "MSG4 right"
  send "DBG session started"
  # PROGRESS percent time: the time is the parent's own clock in seconds, so the
  # demo can pretend that each step took a few minutes.
  send "PROGRESS 0 0"
  sleep "$step"
  send "DBG read 08023080_bayou_grand_cane_zeros.txt"
  send "PROGRESS 5 60"      # 95 x 60 / 5 = 1140 s left: "Estimate Done at: ...  (19 minutes) "
  sleep "$step"
  send "MSG3 gage 2 of 4"
  send "DBG read 09506000_verde_camp_verde_1989-2021.txt"
  send "PROGRESS 20 250"    # 80 x 250 / 20 = 1000 s: "(16 minutes 40 seconds)"
  sleep "$step"
  send "MSG1 Computing design flows"
  send "MSG3 gage 3 of 4"
  send "DBG 1B3 and 4B3 searched"
  send "DBG 7Q10 fitted"
  send "PROGRESS 45 500"
  send "TEXT ON"            # the large window: the output box with the history in view
  sleep "$step"
  send "MSG3 gage 4 of 4"
  send "DBG harmonic mean done"
  send "PROGRESS 70 800"    # 30 x 800 / 70 = 343 s: "(5 minutes 43 seconds)"
  sleep "$step"
  sleep 1.2                 # the one-second refresh has shown lines 1 to 4
  if [ -n "$shot" ]; then
    if command -v import > /dev/null; then
      import -window root "$shot" && echo "status-demo: screenshot in $shot" >&2
    else
      echo "status-demo: ImageMagick's import is missing, no screenshot" >&2
    fi
  fi
  send "PROGRESS 98 1000"   # 2 x 1000 / 98 = 20 s: "Estimated time left 20 seconds"
  send "MSG1 Writing the report"
  sleep "$step"
  send "TEXT OFF"
  send "DBG finished"
  sleep "$step"
  send "EXIT"               # the monitor replies "E" and ends
}

reply=$(session | "$status" $$ | od -An -c | tr -s ' ')
echo "status-demo: the monitor replied:${reply}"
