#!/usr/bin/env bash
# setip-cli.exe ports and a set on a queue, under Wine: the prefix's own serial and parallel ports (Wine's Ports key
# makes COM9, COM10 and LPT2, which the system then lists as Windows does) and the queues of a private cupsd, one
# named outside ASCII, which must come out whole in the table, the JSON and the set.
#   command_line_ports.sh WINE-RUN PREFIX SETIP-CLI
set -euo pipefail
wine_run=$1 prefix=$(realpath -m "$2") cli=$3
source "$(dirname "$0")/private_cups.sh"
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}
queue=setip-Kasse-Ω

for port in COM9 COM10 LPT2; do
  "$wine_run" "$prefix" reg add 'HKLM\Software\Wine\Ports' /v "$port" /d /dev/null /f >/dev/null
done
# Wine makes its ports when its server starts.
WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
WINEPREFIX=$prefix /usr/lib/wine/wineserver --wait
start_private_cupsd "$queue"

run() {
  status=0
  "$wine_run" "$prefix" "$cli" "$@" >"$dir/stdout" 2>"$dir/stderr" || status=$?
}

run ports
[[ $status -eq 0 ]] || fail "ports ended with $status: $(cat "$dir/stderr")"
# The machine's own serial lines may come before; the ports asked for follow in order of their numbers.
listed=$(grep -E '^(COM9|COM10|LPT2|DRIVER) ' "$dir/stdout" | tr -s ' ' | paste -sd '|')
expected="COM9 - serial port \\Device\\Serial8|COM10 - serial port \\Device\\Serial9|LPT2 - parallel port \\Device\\Parallel1"
expected+="|DRIVER $queue printer queue"
[[ $listed == "$expected" ]] || fail "ports listed [$listed], not [$expected]: $(cat "$dir/stdout")"

run ports --json
[[ $status -eq 0 ]] || fail "ports --json ended with $status: $(cat "$dir/stderr")"
python3 - "$dir/stdout" "$queue" <<'PY' || fail "ports --json: $(cat "$dir/stdout")"
import json, sys
ports = json.load(open(sys.argv[1], encoding="utf-8"))["ports"]
assert {"port": "COM10", "queue": None, "kind": "serial", "description": "serial port \\Device\\Serial9"} in ports
assert {"port": "DRIVER", "queue": sys.argv[2], "kind": "driver", "description": "printer queue"} in ports
PY

# The name as ports gave it goes back to set whole, through the wide command line and the spooler.
run set --port DRIVER --queue "$queue" --to 10.0.0.7
[[ $status -eq 0 ]] || fail "set on $queue ended with $status: $(cat "$dir/stderr")"
bytes=$(delivered "$queue")
[[ $bytes == "1f 1b 1f 91 00 49 50 0a 00 00 07" ]] || fail "$queue delivered [$bytes], not exactly the one command"
exit $failed
