#!/usr/bin/env bash
# Starts setip.exe under Wine, waits for its window and saves a picture of it:
#   screenshot.sh WINE-RUN PREFIX SETIP-EXE OUTPUT-PNG
# Fails when the window does not appear, or when the picture is not of the window's size or is one flat colour.
set -euo pipefail
wine_run=$1 prefix=$2 exe=$3 output=$4

# The default GUI font's face, "MS Shell Dlg", is Microsoft Sans Serif on Windows. Wine maps it to Tahoma, and this
# Wine finds no Tahoma outside the prefix and draws a wider Linux font, which cuts the captions. Wine's own MS Sans
# Serif has Windows' metrics, so the prefix gets it as an installed font and as the face of "MS Shell Dlg".
"$wine_run" "$prefix" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'MS Shell Dlg' /d 'MS Sans Serif' /f >/dev/null
cp /usr/share/wine/fonts/sserife.fon "$prefix/drive_c/windows/Fonts/"

# The program is killed once pictured, so what it printed is shown only when its window never came.
said=$(mktemp)
"$wine_run" "$prefix" "$exe" >"$said" 2>&1 &
program=$!
stop() {
  WINEPREFIX=$(realpath -m "$prefix") /usr/lib/wine/wineserver -k 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  rm -f "$said"
}
trap stop EXIT

window=
for _ in $(seq 100); do
  window=$(xwininfo -root -tree 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "FrmQuillop".*/\1/p' | head -n 1)
  [[ -n $window ]] && break
  sleep 0.1
done
if [[ -z $window ]]; then
  echo "FAIL: no window \"FrmQuillop\" appeared on $DISPLAY" >&2
  cat "$said" >&2
  exit 1
fi
sleep 1  # let the controls finish painting
import -window "$window" "$output"

read -r width height < <(xwininfo -id "$window" | sed -n 's/^ *Width: \([0-9]*\)$/\1/p; s/^ *Height: \([0-9]*\)$/\1/p' | paste -sd ' ')
read -r shot_width shot_height colours < <(identify -format '%w %h %k\n' "$output")
if [[ $shot_width != "$width" || $shot_height != "$height" ]]; then
  echo "FAIL: the picture is ${shot_width}x$shot_height, the window ${width}x$height" >&2
  exit 1
fi
if ((colours < 4)); then
  echo "FAIL: the picture has $colours colours, so the window drew nothing" >&2
  exit 1
fi
echo "saved ${width}x$height window picture with $colours colours in $output"
