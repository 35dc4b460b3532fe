#!/usr/bin/env bash
# A printer queue through Wine's spooler: a private cupsd with one raw queue whose backend keeps what it is given, a
# Wine prefix of the test's own that takes its printers from that cupsd, and the probe pressing "Set IP" on it.
#   queue_through_cups.sh WINE-RUN PREFIX PROBE
set -euo pipefail
wine_run=$1 prefix=$(realpath -m "$2") probe=$3
dir=$(mktemp -d)
cupsd_pid=
stop() {
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  if [[ -n $cupsd_pid ]]; then kill "$cupsd_pid" 2>/dev/null || true; wait "$cupsd_pid" 2>/dev/null || true; fi
  rm -rf "$dir" "$dir.log"
}
trap stop EXIT
mkdir -p "$dir/out"
# Under root the server's backends run as lp; under anyone else, as the user who started it.
[[ $(id -u) -ne 0 ]] || chown lp:lp "$dir/out"
"$(dirname "$0")/../support/private-cupsd" "$dir" "setip-queue=keep:$dir/out/printer" >"$dir.log" 2>&1 &
cupsd_pid=$!
export CUPS_SERVER=$dir/cups.sock
for _ in $(seq 100); do
  [[ $(lpstat -r 2>/dev/null) == "scheduler is running" ]] && break
  sleep 0.1
done
[[ $(lpstat -r 2>/dev/null) == "scheduler is running" ]] || { echo "FAIL: cupsd did not start:" >&2; cat "$dir.log" >&2; exit 1; }

"$wine_run" "$prefix" "$probe" DRIVER setip-queue 19200
for _ in $(seq 200); do
  [[ -e $dir/out/printer && -z $(lpstat -o setip-queue 2>/dev/null) ]] && break  # the job has finished
  sleep 0.1
done
bytes=$(od -An -tx1 -v "$dir/out/printer" 2>/dev/null | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
if [[ $bytes != "1f 1b 1f 91 00 49 50 0a 00 00 07" ]]; then
  echo "FAIL: the queue delivered [$bytes], not exactly the one command" >&2
  exit 1
fi
