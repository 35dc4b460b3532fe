#!/usr/bin/env bash
# A serial printer on a pseudo-terminal: COM42 of the Wine prefix links to the terminal that script(1) opens, the
# probe presses "Set IP" on it, and script's copy of the line shows exactly what the printer would have received.
#   serial_through_pty.sh WINE-RUN PREFIX PROBE
set -euo pipefail
wine_run=$1 prefix=$(realpath -m "$2") probe=$3
work=$(mktemp -d)
trap 'rm -rf "$work"; rm -f "$prefix/dosdevices/com42"' EXIT
export wine_run prefix probe work
mkdir -p "$prefix/dosdevices"

failed=0
for baud in 9600 115200; do
  export baud
  script -q -e -c '
    ln -sfn "$(tty)" "$prefix/dosdevices/com42"
    "$wine_run" "$prefix" "$probe" COM42 "" "$baud" >"$work/probe.out" 2>&1 && echo 0 >"$work/rc" || echo $? >"$work/rc"
    stty -a -F "$(tty)" >"$work/stty"' /dev/null </dev/null >"$work/line"

  bytes=$(od -An -tx1 -v "$work/line" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
  settings=$(tr ';\n' '  ' <"$work/stty")
  check() {
    if ! eval "$2"; then
      echo "FAIL at $baud baud: $1" >&2
      failed=1
    fi
  }
  check "the press failed (exit $(cat "$work/rc")): $(cat "$work/probe.out")" '[[ $(cat "$work/rc") == 0 ]]'
  # 0A in the address would arrive as 0D 0A if the line were not raw.
  check "the line carried [$bytes]" '[[ $bytes == "1f 1b 1f 91 00 49 50 0a 00 00 07" ]]'
  check "the line was not set to $baud baud: $settings" '[[ $settings == *"speed $baud baud"* ]]'
  for flag in cs8 -cstopb -parenb -crtscts -ixon -opost; do
    check "the line lacks $flag: $settings" '[[ " $settings " == *" $flag "* ]]'
  done
done
exit $failed
