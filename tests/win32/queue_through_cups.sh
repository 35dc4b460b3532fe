#!/usr/bin/env bash
# A printer queue through Wine's spooler: a private cupsd with one raw queue whose backend keeps what it is given, a
# Wine prefix of the test's own that takes its printers from that cupsd, and the probe pressing "Set IP" on it.
#   queue_through_cups.sh WINE-RUN PREFIX PROBE
set -euo pipefail
wine_run=$1 prefix=$(realpath -m "$2") probe=$3
if [[ $(id -u) -ne 0 ]]; then
  echo "FAIL: a private cupsd must be started as root" >&2
  exit 1
fi

dir=$(mktemp -d)
cupsd_pid=
stop() {
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  if [[ -n $cupsd_pid ]]; then kill "$cupsd_pid" 2>/dev/null || true; wait "$cupsd_pid" 2>/dev/null || true; fi
  rm -rf "$dir"
}
trap stop EXIT
mkdir -p "$dir"/{spool,tmp,cache,state,log,out,bin/backend}
chown lp:lp "$dir"/{spool,tmp,cache,state,out}
chmod 755 "$dir"
# The system's programs, and a backend that copies the job to the file its device URI names.
for part in filter daemon notifier monitor cgi-bin; do ln -s "/usr/lib/cups/$part" "$dir/bin/$part"; done
cat >"$dir/bin/backend/keep" <<'BACKEND'
#!/bin/sh
[ $# -eq 0 ] && { echo 'direct keep "Unknown" "keep"'; exit 0; }
cat "${6:--}" >"${DEVICE_URI#keep:}"
BACKEND
chmod 755 "$dir/bin/backend/keep"
ipp_port=$((20000 + RANDOM % 10000))
cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
TempDir $dir/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
ServerBin $dir/bin
DataDir /usr/share/cups
User lp
Group lp
CONF
cat >"$dir/cupsd.conf" <<CONF
Listen 127.0.0.1:$ipp_port
Listen $dir/cups.sock
Browsing No
WebInterface No
# Without a Location the server refuses even root's local credentials.
<Location />
  Order allow,deny
  Allow localhost
</Location>
CONF
cupsd -t -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >/dev/null
cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" &
cupsd_pid=$!
export CUPS_SERVER=$dir/cups.sock
for _ in $(seq 100); do
  [[ $(lpstat -r 2>/dev/null) == "scheduler is running" ]] && break
  sleep 0.1
done
# lpadmin warns that raw queues are deprecated; that is harmless, anything else is not.
lpadmin -p setip-queue -E -v "keep:$dir/out/printer" -m raw 2> >(grep -v 'deprecated' >&2)

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
