#!/usr/bin/env bash
# setip-cli.exe set under Wine: over Winsock to a listener on loopback, with the exit code of each ending and its
# JSON; then beside the stand-in vendor POSDLL.dll, whose open takes any name, so a press to an address where nothing
# listens still succeeds; and beside one that lacks POS_EndDoc, which setip refuses, saying so, for its own library.
#   command_line_set.sh WINE-RUN PREFIX SETIP-CLI POSDLL POSDLL-WITHOUT-END-DOC
set -euo pipefail
wine_run=$1 prefix=$(realpath -m "$2") cli=$3 posdll=$4 refused_posdll=$5
work=$(mktemp -d)
listener_pid=
stop() {
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  if [[ -n $listener_pid ]]; then kill "$listener_pid" 2>/dev/null || true; wait "$listener_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap stop EXIT
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

# A printer's raw port on 127.0.0.1: each connection's bytes, in hex, one line when it ends.
python3 - "$work/listener" <<'PY' &
import socket, sys
server = socket.socket()
server.bind(("127.0.0.1", 0))
server.listen(8)
open(sys.argv[1] + ".port", "w").write(str(server.getsockname()[1]))
while True:
    connection, _ = server.accept()
    received = b""
    while chunk := connection.recv(4096):
        received += chunk
    connection.close()
    with open(sys.argv[1], "a") as log:
        log.write(received.hex(" ") + "\n")
PY
listener_pid=$!
for _ in $(seq 100); do [[ -s $work/listener.port ]] && break; sleep 0.05; done
listener=127.0.0.1:$(cat "$work/listener.port")
refusing=127.0.0.1:$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
command="1f 1b 1f 91 00 49 50 0a 00 00 07"

# check NAME EXIT-CODE JSON-OUTCOME|- OUTPUT-PATTERN -- EXE ARGUMENTS...: runs the exe and checks its exit code, the
# outcome its --json document names (- for none), and a pattern that its standard output and error must match.
check() {
  local name=$1 code=$2 outcome=$3 pattern=$4 status=0
  shift 5
  "$wine_run" "$prefix" "$@" >"$work/stdout" 2>"$work/stderr" || status=$?
  local said="exit $status; out: $(cat "$work/stdout"); err: $(cat "$work/stderr")"
  [[ $status -eq $code ]] || fail "$name: not exit $code but $said"
  if [[ $outcome != - ]]; then
    python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["outcome"])' "$work/stdout" 2>/dev/null |
      grep -qx "$outcome" || fail "$name: the JSON's outcome is not $outcome: $said"
  fi
  grep -qE "$pattern" <(cat "$work/stdout" "$work/stderr") || fail "$name: the output does not match /$pattern/: $said"
}

# By name, so that the system's own lookup takes part; the rest go by number.
check sent 0 - '^sent the new address 10\.0\.0\.7$' -- "$cli" set --port ETHERNET --at "localhost:${listener#*:}" \
  --to 10.0.0.7
for _ in $(seq 50); do grep -qx "$command" "$work/listener" 2>/dev/null && break; sleep 0.1; done
grep -qx "$command" "$work/listener" 2>/dev/null || fail "the listener got [$(cat "$work/listener" 2>/dev/null)]"
check port_refused 69 port_refused "cannot connect to $refusing" -- \
  "$cli" set --port ETHERNET --at "$refusing" --to 10.0.0.7 --json
check address_taken 65 address_taken "$listener already answers" -- \
  "$cli" set --port ETHERNET --at "$listener" --to 127.0.0.9 --confirm 5 --confirm-at "$listener" --json
check not_back 75 not_back "did not answer at $refusing" -- \
  "$cli" set --port ETHERNET --at "$listener" --to 127.0.0.9 --confirm 0.5 --confirm-at "$refusing" --json
check usage 64 - 'needs --at' -- "$cli" set --port ETHERNET --to 10.0.0.7

# The vendor's library is taken from beside the exe, as the window takes it.
for kind in vendor refused; do
  mkdir -p "$work/$kind"
  cp "$cli" "$work/$kind/"
done
cp "$posdll" "$work/vendor/POSDLL.dll"
cp "$refused_posdll" "$work/refused/POSDLL.dll"
# The stand-in's POS_Open gives 7 for any name; the built-in library would find nothing listening.
check vendor_library 0 sent '"handle": 7' -- "$work/vendor/${cli##*/}" set --port ETHERNET --at "$refusing" --to 10.0.0.7 --json
check vendor_library_refused 69 port_refused 'built-in printer library instead' -- \
  "$work/refused/${cli##*/}" set --port ETHERNET --at "$refusing" --to 10.0.0.7 --json
exit $failed
