#!/usr/bin/env bash
# check_deb.sh BUILD_FOLDER HAS_BACKUP_JOB: makes the Debian package with cpack, checks what it
# holds and declares, then unpacks it and runs the packaged kolmara-sql as a user who has never
# run Kolmara: its settings must come from the delivered file into the user's configuration folder
# and the demo database must be made in the user's data folder, nothing beside the program.
set -euo pipefail
build=$1
has_backup_job=$2

if ! command -v dpkg-deb >/dev/null || ! command -v cpack >/dev/null; then
  echo "dpkg-deb or cpack is missing: skipped"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
debs=("$work"/out/kolmara_*.deb)
[ -f "${debs[0]}" ] || { cat "$work/cpack.log"; echo "FAIL: no kolmara_*.deb made"; exit 1; }
deb=${debs[0]}
echo "made $(basename "$deb")"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
expected=(
  ./usr/bin/kolmara
  ./usr/bin/kolmara-sql
  ./usr/share/kolmara/KOLMARA.INI
  ./usr/share/applications/kolmara.desktop
  ./usr/share/icons/hicolor/48x48/apps/kolmara.png
  ./usr/share/icons/hicolor/256x256/apps/kolmara.png
)
[ "$has_backup_job" = 1 ] && expected+=(./usr/bin/kolmara-backup)
for path in "${expected[@]}"; do
  grep -qx -- "$path" <<<"$contents" || fail "the package lacks $path"
done
if [ "$has_backup_job" != 1 ] && grep -qx -- ./usr/bin/kolmara-backup <<<"$contents"; then
  fail "the package holds a kolmara-backup the build does not have"
fi
grep -q '^\./usr/bin/\(tst_\|kolmara-screenshots\|kolmara-icon\)' <<<"$contents" \
  && fail "the package holds build tools or tests"

[ "$(dpkg-deb -f "$deb" Package)" = kolmara ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libsqlite3-0 qt6-qpa-plugins \
           "fonts-nanum-coding | fonts-noto-cjk" "fonts-nanum | fonts-noto-cjk"; do
  grep -qF -- "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop=$root/usr/share/applications/kolmara.desktop
grep -qx 'Exec=kolmara' "$desktop" || fail "the desktop entry does not start kolmara"
grep -qx 'Icon=kolmara' "$desktop" || fail "the desktop entry does not name the icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
for size in 48 256; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/kolmara.png
  # The PNG signature, then the IHDR chunk with width and height as 4-byte big-endian numbers.
  header=$(od -An -tx1 -N24 "$png" | tr -d ' \n')
  printf -v want '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size"
  [ "$header" = "$want" ] || fail "$png is not a ${size}x${size} PNG ($header)"
done
grep -q $'^BackupDrive=\r$' "$root/usr/share/kolmara/KOLMARA.INI" \
  || fail "the delivered KOLMARA.INI carries a backup folder of the build machine"

home=$work/home
mkdir -p "$home"
before=$(cd "$root" && find . | sort)
if ! out=$(env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_CONFIG_HOME="$home/.config" \
             XDG_DATA_HOME="$home/.local/share" \
             "$root/usr/bin/kolmara-sql" DEMO SCOTT/TIGER "SELECT ENAME FROM EMP WHERE EMPNO = 7839" \
             2>"$work/stderr"); then
  fail "the packaged kolmara-sql failed: $(cat "$work/stderr")"
fi
[ "$out" = $'ENAME\nKING' ] || fail "the packaged kolmara-sql printed: $out $(cat "$work/stderr")"
settings=$home/.config/kolmara/KOLMARA.INI
[ -f "$settings" ] || fail "no settings file in the user's configuration folder"
grep -qx "BackupDrive=$home/Kolmara/"$'\r' "$settings" || fail "the user's backup folder is not in their home"
[ -f "$home/.local/share/kolmara/KOLMDEMO.DB" ] || fail "no demo database in the user's data folder"
after=$(cd "$root" && find . | sort)
[ "$before" = "$after" ] || fail "the program wrote beside itself: $(diff <(echo "$before") <(echo "$after"))"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package checked"
