#!/usr/bin/env bash
# setip-cli.exe find under Wine, against listeners on loopback at one port: some take a connection and never answer,
# and a hundred hosts are silent, their backlogs full, as printers that are switched off. Checks each run's exit code
# and its whole standard output, and that the silent /24 takes about one deadline.
#   command_line_find.sh WINE-RUN PREFIX SETIP-CLI
set -euo pipefail
wine_run=$1 prefix=$(realpath -m "$2") cli=$3
work=$(mktemp -d)
peers_pid=
stop() {
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  if [[ -n $peers_pid ]]; then kill "$peers_pid" 2>/dev/null || true; wait "$peers_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap stop EXIT
failed=0

# peers PORT-FILE LISTENING... -- SILENT-COUNT: listeners at one free port on each LISTENING host, and that many silent
# hosts from 127.0.0.1 on; the port is written once all are ready.
peers() {
  python3 - "$@" <<'PY' &
import socket, sys, time
port_file, *rest = sys.argv[1:]
split = rest.index("--")
listening, silent = rest[:split], int(rest[split + 1])
first = socket.socket()
first.bind(("127.0.0.250", 0))
port = first.getsockname()[1]
first.close()
held = []
for host in listening:
    listener = socket.socket()
    listener.bind((host, port))
    listener.listen(8)
    held.append(listener)
for last in range(1, silent + 1):
    listener = socket.socket()
    listener.bind((f"127.0.0.{last}", port))
    listener.listen(0)
    held.append(listener)
    # Connects complete into the accept queue until it is full; the first that stays pending shows it is.
    while True:
        filler = socket.socket()
        filler.setblocking(False)
        held.append(filler)
        if filler.connect_ex((f"127.0.0.{last}", port)) != 0:
            time.sleep(0.01)
            if filler.connect_ex((f"127.0.0.{last}", port)) not in (0, 106):  # EISCONN
                break
open(port_file, "w").write(str(port))
while True:
    time.sleep(60)
PY
  peers_pid=$!
  for _ in $(seq 300); do [[ -s $1 ]] && return; sleep 0.05; done
  echo "FAIL: the loopback peers did not start" >&2
  exit 1
}

# scan NAME EXIT-CODE OUTPUT WITHIN-MILLISECONDS ARGUMENTS...: "{port}" in OUTPUT and ARGUMENTS stands for the peers'
# port.
scan() {
  local name=$1 code=$2 expected=${3//\{port\}/$port} within=$4 status=0
  shift 4
  local started
  started=$(date +%s%N)
  "$wine_run" "$prefix" "$cli" find "${@//\{port\}/$port}" >"$work/out" 2>"$work/err" || status=$?
  local took=$((($(date +%s%N) - started) / 1000000)) out
  out=$(cat "$work/out"; echo .)
  out=${out%.}
  if [[ $status -ne $code || $out != "$expected" || $took -ge $within ]]; then
    echo "FAIL: $name: exit $status after $took ms; out: [$out]; err: $(cat "$work/err")" >&2
    failed=1
  fi
}

peers "$work/two" 127.0.0.9 127.0.0.3 -- 0
port=$(cat "$work/two")
scan "two listeners of a /28 are listed by address" 0 $'ADDRESS          PORT\n127.0.0.3        {port}\n127.0.0.9        {port}\n' \
  30000 127.0.0.0/28 --port {port}
scan "a listener that sends no status byte back shows none" 0 \
  $'ADDRESS          PORT   STATUS\n127.0.0.9        {port}  none\n' 30000 127.0.0.9 --port {port} --identify --timeout 0.5
kill "$peers_pid"
wait "$peers_pid" 2>/dev/null || true
scan "nothing answering ends with 1 and no table" 1 "" 30000 127.0.0.0/28 --port {port}

# Winsock's select takes 64 sockets unless told more: a scan that waited on 64 at a time would take two deadlines
# here, 6 s at the least. 5.5 s leaves 2.5 s for Wine to start the program.
peers "$work/silent" 127.0.0.200 -- 100
port=$(cat "$work/silent")
scan "a /24 with a hundred silent hosts takes about one deadline and misses no listener past them" 0 \
  $'ADDRESS          PORT\n127.0.0.200      {port}\n' 5500 127.0.0.0/24 --port {port} --timeout 3
exit $failed
