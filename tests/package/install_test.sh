#!/usr/bin/env bash
# Tries the Debian package as a new user would: makes it from the build folder,
# checks its file list, dependencies and desktop files, unpacks it into a fresh
# root (dpkg -x), and starts the installed kestrum there with a home of its own.
# The installed bin folder must not be writable, as under /usr/bin: as root
# (whom permissions never refuse) the root is bind-mounted read-only in a
# private mount namespace; as another user, taking away the write bits is enough.
#   install_test.sh BUILD_DIR X11CLOSE
set -euo pipefail
build="$1"; closer="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
title="Zantreo - Kestrum 2.07"

cpack -G DEB -B "$work/pkg" --config "$build/CPackConfig.cmake" >"$work/cpack.log" \
  || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/pkg/kestrum_*.deb)
echo "package: $(basename "$deb")"

# Exactly these files: no test program, benchmark or tool slips in.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | sort >"$work/files"
sort >"$work/expected" <<'LIST'
/usr/bin/kestrum
/usr/bin/kestrum-cli
/usr/share/applications/org.ostravel.Kestrum.desktop
/usr/share/bash-completion/completions/kestrum-cli
/usr/share/doc/kestrum/changelog.gz
/usr/share/doc/kestrum/copyright
/usr/share/icons/hicolor/128x128/apps/org.ostravel.Kestrum.png
/usr/share/icons/hicolor/16x16/apps/org.ostravel.Kestrum.png
/usr/share/icons/hicolor/24x24/apps/org.ostravel.Kestrum.png
/usr/share/icons/hicolor/256x256/apps/org.ostravel.Kestrum.png
/usr/share/icons/hicolor/32x32/apps/org.ostravel.Kestrum.png
/usr/share/icons/hicolor/48x48/apps/org.ostravel.Kestrum.png
/usr/share/icons/hicolor/64x64/apps/org.ostravel.Kestrum.png
/usr/share/icons/hicolor/scalable/apps/org.ostravel.Kestrum.svg
/usr/share/man/man1/kestrum-cli.1.gz
/usr/share/man/man1/kestrum.1.gz
/usr/share/metainfo/org.ostravel.Kestrum.metainfo.xml
LIST
echo "files:"; sed 's/^/  /' "$work/files"
diff -u "$work/expected" "$work/files" || { echo "unexpected file list"; exit 20; }

# The dependencies are computed from what the programs link.
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
names=$(tr ',' '\n' <<<"$depends" | sed 's/(.*//; s/ //g')
for lib in libqt6widgets6 libqt6network6 libqt6core6 libsqlite3-0 libmimalloc2.0 libc6; do
  grep -qx "$lib" <<<"$names" || { echo "Depends lacks $lib"; exit 21; }
done

# A CMake list left in the long description shows as ";" in every package manager.
! dpkg-deb -f "$deb" Description | grep -q ';' || { echo "stray ';' in Description"; exit 25; }

root="$work/root"
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/org.ostravel.Kestrum.desktop" || exit 22
appstreamcli validate --no-net "$root/usr/share/metainfo/org.ostravel.Kestrum.metainfo.xml" || exit 23
[ "$(identify -format %wx%h "$root/usr/share/icons/hicolor/48x48/apps/org.ostravel.Kestrum.png")" = 48x48 ] || exit 24

# Debian's checks find no error; packaging/lintian-notes.md says why each
# remaining tag stays.
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; echo "lintian found errors"; exit 26; }
grep -v '^running with root' "$work/lintian.log" || true

# The manual pages render without a warning and name every option, command and
# report the programs' own help names, so they cannot fall behind the code.
for page in kestrum kestrum-cli; do
  zcat "$root/usr/share/man/man1/$page.1.gz" >"$work/$page.1"
  groff -man -Tutf8 -ww -z "$work/$page.1" 2>"$work/groff.log"
  [ ! -s "$work/groff.log" ] || { cat "$work/groff.log"; echo "$page.1 renders with warnings"; exit 40; }
  sed 's/\\-/-/g' "$work/$page.1" >"$work/$page.names"
done
cli="$root/usr/bin/kestrum-cli"
names=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/kestrum" --help | grep -o -- '--[a-z-]*' | sed 's/^/kestrum /')
for command in "" import remote report sql rakeback rates; do
  names+=$'\n'$("$cli" $command --help | grep -o -- '^  \(-., \)\?--[a-z-]*' | grep -o -- '--[a-z-]*' | sed 's/^/kestrum-cli /')
done
names+=$'\n'$("$cli" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z]*\).*/kestrum-cli \1/p')
names+=$'\n'$("$cli" report --help | sed -n 's/^ *[0-9][0-9]*  \(.*\)$/kestrum-cli \1/p')
while read -r page name; do
  grep -qF -- "$name" "$work/$page.names" || { echo "$page.1 does not mention $name"; exit 41; }
done <<<"$names"
echo "manual pages: render cleanly and name all $(wc -l <<<"$names") options, commands and reports"

# The completion loads in bash and completes from the installed program. The
# words are as bash hands them over, quotes and backslashes included.
while IFS='|' read -r words expected; do
  got=$(PATH="$root/usr/bin:$PATH" bash -c 'source "$1" && complete -p kestrum-cli >/dev/null || exit 1
    IFS=, read -ra COMP_WORDS <<<"$2"; COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _kestrum_cli; echo "${COMPREPLY[*]}"' \
    _ "$root/usr/share/bash-completion/completions/kestrum-cli" "$words" 2>&1)
  [ "$got" = "$expected" ] || { echo "completing '$words': got '$got', expected '$expected'"; exit 42; }
done <<'CASES'
kestrum-cli,r|remote report rakeback rates
kestrum-cli,--database,x.db3,s|sql
kestrum-cli,import,--f|--filter
kestrum-cli,import,--filter,=,t|tournaments
kestrum-cli,rakeback,--basis,e|equal
kestrum-cli,rates,u|unset
kestrum-cli,report,Rake\ by\ M|Rake\ by\ Month
kestrum-cli,report,"Total|"Total Rake"
kestrum-cli,import,--since,y|yesterday
CASES
echo "completion: loads and completes commands, options, values and reports"

# --help and --version need no display; a start without one says so in one line.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/kestrum")
"${nodisplay[@]}" --help | grep -q -- '--database <FILE>' || { echo "kestrum --help failed"; exit 43; }
[ "$("${nodisplay[@]}" --version)" = "Kestrum 2.07" ] || { echo "kestrum --version failed"; exit 44; }
rc=0; "${nodisplay[@]}" >"$work/out" 2>"$work/err" || rc=$?
[ $rc -eq 1 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" -eq 1 ] \
  || { echo "kestrum without a display: exit code $rc, stderr:"; cat "$work/err"; exit 45; }
echo "kestrum without a display: $(cat "$work/err")"

home="$work/home"
mkdir -p "$home" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
chmod -R a-w "$root/usr/bin"
unset QT_QPA_PLATFORM XDG_DATA_HOME XDG_CONFIG_HOME
cat >"$work/first-start.sh" <<INNER
set -u
export HOME="$home" PATH="$root/usr/bin:\$PATH"
kestrum & pid=\$!
for i in \$(seq 1 100); do "$closer" find "$title" >/dev/null 2>&1 && break; sleep 0.1; done
"$closer" find "$title" >/dev/null || { echo "window did not appear"; kill \$pid; exit 10; }
"$closer" close "$title" >/dev/null
for i in \$(seq 1 100); do kill -0 \$pid 2>/dev/null || break; sleep 0.1; done
if kill -0 \$pid 2>/dev/null; then echo "program did not end"; kill -9 \$pid; exit 11; fi
wait \$pid || { echo "kestrum exit code \$?"; exit 12; }
kestrum-cli --version || exit 13
kestrum-cli sql "SELECT count(*) AS Hands FROM Master" || exit 14
INNER
run=(xvfb-run -a -s "-screen 0 1024x700x24" bash "$work/first-start.sh")
if [ "$(id -u)" -ne 0 ]; then
  echo "installed folder: write bits removed (not root)"
  "${run[@]}"
elif unshare -m --propagation private true 2>/dev/null; then
  echo "installed folder: read-only bind mount in a private mount namespace"
  unshare -m --propagation private bash -c \
    'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" "$1" && shift && exec "$@"' _ "$root" "${run[@]}"
else
  echo "cannot make the installed folder read-only for root here: skipped the first start"
  exit 77
fi

data="$home/.local/share/Ostravel/Kestrum"
db="$data/Kestrum2.db3"
[ -f "$db" ] || { echo "no database in $data"; find "$work" -name Kestrum2.db3; exit 30; }
tables=$(sqlite3 "$db" "SELECT group_concat(name, ',') FROM (SELECT name FROM sqlite_master WHERE type='table' ORDER BY name)")
[ "$tables" = "Detail,Imports,Master,RakebackRates" ] || { echo "unexpected tables: $tables"; exit 31; }
[ "$(stat -c %a "$data")" = 700 ] || { echo "data folder mode $(stat -c %a "$data"), not 700"; exit 32; }
# Both front ends used that one file and made no other.
[ "$(find "$work" -name Kestrum2.db3 | wc -l)" = 1 ] || { find "$work" -name Kestrum2.db3; exit 33; }
echo "first start passed: database $db with Detail and Master, folder mode 700"
