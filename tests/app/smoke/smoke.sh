#!/usr/bin/env bash
# Starts the real program in a real X server from a copy of its folder, waits
# for its window, saves a screenshot, closes it like a user would and checks
# the exit code and the database file that appeared beside the executable.
set -euo pipefail
exe="$1"; closer="$2"; shot="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/kestrum"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME"
unset QT_QPA_PLATFORM
cat > "$work/inner.sh" <<INNER
set -u
"$work/kestrum" & pid=\$!
for i in \$(seq 1 100); do
  "$closer" find "Zantreo - Kestrum 2.07" >/dev/null 2>&1 && break
  sleep 0.1
done
"$closer" find "Zantreo - Kestrum 2.07" >/dev/null || { echo "window did not appear"; kill \$pid; exit 10; }
sleep 1
import -window root "$shot"
"$closer" close "Zantreo - Kestrum 2.07" >/dev/null
for i in \$(seq 1 100); do kill -0 \$pid 2>/dev/null || break; sleep 0.1; done
if kill -0 \$pid 2>/dev/null; then echo "program did not end"; kill -9 \$pid; exit 11; fi
wait \$pid; rc=\$?
echo "exit code \$rc"
[ \$rc -eq 0 ] || exit \$rc
# A second server's database, named on the command line and in the caption.
title="Zantreo - Kestrum 2.07 - server-b.db3"
"$work/kestrum" --database "$work/servers/server-b.db3" & pid=\$!
for i in \$(seq 1 100); do
  "$closer" find "\$title" >/dev/null 2>&1 && break
  sleep 0.1
done
"$closer" close "\$title" >/dev/null || { echo "no window \$title"; kill \$pid; exit 15; }
wait \$pid
INNER
mkdir -p "$work/servers"
xvfb-run -a -s "-screen 0 1024x700x24" bash "$work/inner.sh"
db="$work/Kestrum2.db3"
[ -f "$db" ] || { echo "no Kestrum2.db3 beside the executable"; exit 12; }
tables=$(sqlite3 "$db" "SELECT group_concat(name, ',') FROM (SELECT name FROM sqlite_master WHERE type='table' ORDER BY name)")
[ "$tables" = "Detail,Imports,Master,RakebackRates" ] || { echo "unexpected tables: $tables"; exit 13; }
tables=$(sqlite3 "$work/servers/server-b.db3" "SELECT group_concat(name, ',') FROM (SELECT name FROM sqlite_master WHERE type='table' ORDER BY name)")
[ "$tables" = "Detail,Imports,Master,RakebackRates" ] || { echo "unexpected tables in server-b.db3: $tables"; exit 16; }
[ -f "$HOME/.config/Ostravel/Kestrum.ini" ] || { echo "settings were not saved at close"; exit 14; }
echo "smoke test passed: window shown, screenshot $shot, exit code 0, database with Detail and Master; --database opens another file"
