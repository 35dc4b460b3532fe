#!/usr/bin/env bash
# A printer queue through Wine's spooler: a private cupsd with one raw queue whose backend keeps what it is given, a
# Wine prefix of the test's own that takes its printers from that cupsd, and the probe pressing "Set IP" on it.
#   queue_through_cups.sh WINE-RUN PREFIX PROBE
set -euo pipefail
wine_run=$1 prefix=$(realpath -m "$2") probe=$3
source "$(dirname "$0")/private_cups.sh"
start_private_cupsd setip-Kasse-Ω

"$wine_run" "$prefix" "$probe" DRIVER setip-Kasse-Ω 19200
bytes=$(delivered setip-Kasse-Ω)
if [[ $bytes != "1f 1b 1f 91 00 49 50 0a 00 00 07" ]]; then
  echo "FAIL: the queue delivered [$bytes], not exactly the one command" >&2
  exit 1
fi
