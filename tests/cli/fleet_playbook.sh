#!/usr/bin/env bash
# The Ansible playbook of docs/fleet.md, taken whole from the page, run as the page shows against virtual printers
# on loopback that restart their network after the command: two shops whose printers move, and one whose printer
# is absent, which must fail alone with setip's exit code 69.
#   fleet_playbook.sh SETIP VIRTUAL-PRINTER FLEET-MD
set -euo pipefail
setip=$(realpath "$1") virtual_printer=$(realpath "$2") page=$3
command -v ansible-playbook >/dev/null || { echo "FAIL: no ansible-playbook (scripts/install-deps installs ansible-core)" >&2; exit 1; }
work=$(mktemp -d)
printers=()
stop() {
  for pid in "${printers[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap stop EXIT
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

blocks=$(grep -c '^```yaml$' "$page")
[[ $blocks -eq 1 ]] || { echo "FAIL: $page has $blocks yaml blocks, not the one playbook" >&2; exit 1; }
awk '/^```yaml$/ { inside = 1; next } /^```$/ { inside = 0 } inside' "$page" >"$work/setip-rollout.yml"

# A port free on both of a printer's loopback addresses, present and new.
free_port() {
  python3 - "$@" <<'PY'
import socket, sys
while True:
    first = socket.socket()
    first.bind((sys.argv[1], 0))
    port = first.getsockname()[1]
    second = socket.socket()
    try:
        second.bind((sys.argv[2], port))
    except OSError:
        continue
    print(port)
    break
PY
}

# shop present-host new-host, and whether a printer is there.
shops=("shop-a 127.0.0.31 127.0.0.41 present" "shop-b 127.0.0.32 127.0.0.42 present" "shop-c 127.0.0.33 127.0.0.43 absent")
echo "shop,port,present_address,new_address" >"$work/plan.csv"
declare -A port
for shop in "${shops[@]}"; do
  read -r name present new there <<<"$shop"
  port[$name]=$(free_port "$present" "$new")
  echo "$name,ETHERNET,$present:${port[$name]},$new" >>"$work/plan.csv"
  [[ $there == present ]] || continue
  "$virtual_printer" --listen "$present:${port[$name]}" --restart-after 1 >"$work/$name.log" 2>&1 &
  printers+=($!)
  for _ in $(seq 100); do grep -q "^listening on $present:" "$work/$name.log" && break; sleep 0.05; done
  grep -q "^listening on $present:" "$work/$name.log" || { echo "FAIL: the printer of $name did not start" >&2; exit 1; }
done

status=0
HOME=$work LC_ALL=C.UTF-8 ANSIBLE_NOCOLOR=1 ANSIBLE_LOCAL_TEMP=$work/ansible-tmp ANSIBLE_RETRY_FILES_ENABLED=0 \
  ansible-playbook -i localhost, "$work/setip-rollout.yml" -e "plan=$work/plan.csv" -e "setip=$setip" \
  >"$work/playbook.out" 2>&1 || status=$?
cat "$work/playbook.out"

[[ $status -eq 2 ]] || fail "ansible-playbook ended with $status, not 2 (a host failed)"
for shop in "${shops[@]}"; do
  read -r name present new there <<<"$shop"
  recap=$(grep -E "^$name +:" "$work/playbook.out" || true)
  if [[ $there == present ]]; then
    [[ $recap == *"changed=1 "*"failed=0 "* ]] || fail "$name is not changed and passed: $recap"
    grep -q "^listening on $new:${port[$name]}$" "$work/$name.log" ||
      fail "the printer of $name did not move to $new: $(cat "$work/$name.log")"
  else
    [[ $recap == *"changed=0 "*"failed=1 "* ]] || fail "$name did not fail unchanged: $recap"
    grep -qE "^fatal: \[$name\]: FAILED! => .*\"rc\": 69[,}]" "$work/playbook.out" ||
      fail "$name did not fail with setip's exit code 69"
  fi
done
exit $failed
