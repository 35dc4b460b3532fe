# Sourced by the scripts that give a Wine prefix a private cupsd whose raw queues keep what they are given, once they
# have set `prefix`. It makes a scratch folder `dir` for the server, and at exit stops the prefix's Wine and the
# server and removes the folder.
#   start_private_cupsd QUEUE...  starts it with one queue of each name, each keeping its jobs in a file of its own;
#                                 exports CUPS_SERVER for Wine's spooler; waits until it runs
#   delivered QUEUE               waits for the queue's job to finish; prints its bytes in hex, "1f 1b ..."
cupsd_pid=
dir=$(mktemp -d)
stop_private_cupsd() {
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  if [[ -n $cupsd_pid ]]; then kill "$cupsd_pid" 2>/dev/null || true; wait "$cupsd_pid" 2>/dev/null || true; fi
  rm -rf "$dir" "$dir.log"
}
trap stop_private_cupsd EXIT

# Where a queue keeps its job: its name in hex, so that a device URI never holds a character outside ASCII.
kept_in() { printf '%s/out/%s' "$dir" "$(printf '%s' "$1" | od -An -tx1 | tr -d ' \n')"; }

start_private_cupsd() {
  local queue queues=()
  mkdir -p "$dir/out"
  # Under root the server's backends run as lp; under anyone else, as the user who started it.
  [[ $(id -u) -ne 0 ]] || chown lp:lp "$dir/out"
  for queue in "$@"; do queues+=("$queue=keep:$(kept_in "$queue")"); done
  "$(dirname "${BASH_SOURCE[0]}")/../support/private-cupsd" "$dir" "${queues[@]}" >"$dir.log" 2>&1 &
  cupsd_pid=$!
  export CUPS_SERVER=$dir/cups.sock
  for _ in $(seq 100); do
    [[ $(lpstat -r 2>/dev/null) == "scheduler is running" ]] && return 0
    sleep 0.1
  done
  echo "FAIL: cupsd did not start:" >&2
  cat "$dir.log" >&2
  return 1
}

delivered() {
  local queue=$1 file
  file=$(kept_in "$1")
  for _ in $(seq 200); do
    [[ -e $file && -z $(lpstat -o "$queue" 2>/dev/null) ]] && break  # the job has finished
    sleep 0.1
  done
  od -An -tx1 -v "$file" 2>/dev/null | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'
}

