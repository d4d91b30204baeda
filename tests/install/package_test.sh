#!/usr/bin/env bash
# Builds the Debian package from the build, checks it with lintian (no errors;
# the warnings are printed), unpacks it into a temporary root and runs the
# unpacked programs there: zentorix-cli --version, a shipped experiment with
# zentorix-cli run, and the window under Xvfb, closed again with its settings
# written under the test's XDG_DATA_HOME. Only where the environment variable
# CI is set (a throw-away machine) is the package also installed with apt-get,
# run from /usr, removed again, and /usr checked for anything left behind.
#   package_test.sh BUILD VERSION SOURCE
set -euo pipefail
build=$1 version=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/common.sh"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# How long each step took, printed at the end.
laps=() lap_start=$SECONDS
lap() {
    laps+=("$1: $((SECONDS - lap_start)) s;")
    lap_start=$SECONDS
}
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 || {
    cat "$tmp/cpack.log"
    fail "cpack -G DEB"
}
lap cpack
deb=$tmp/out/zentorix_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no package $deb; cpack made: $(ls "$tmp/out")"

# The control fields a package manager shows.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zentorix ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
[[ "$(field Depends)" == *libqt6widgets6* ]] || fail "Depends computed without Qt: $(field Depends)"
[[ "$(field Description)" == "workbench for two-dimensional cellular automata"$'\n'* ]] ||
    fail "Description: $(field Description)"

lintian --fail-on error --tag-display-limit 0 -I "$deb" >"$tmp/lintian.log" 2>&1 || {
    cat "$tmp/lintian.log"
    fail "lintian found errors"
}
lap lintian
echo "lintian says:"
sed 's/^/  /' "$tmp/lintian.log"

# Unpacked into a root of its own, the package's programs run from there.
root=$tmp/root
dpkg-deb -x "$deb" "$root"
[ "$("$root/usr/bin/zentorix-cli" --version)" = "zentorix-cli $version" ] ||
    fail "the unpacked zentorix-cli --version"
run_programs() {
    local bin=$1 share=$2 data=$3 sample
    sample=$(first_sample "$share")
    [ -n "$sample" ] || fail "the Museum in $share ships no experiment"
    (cd "$tmp" && "$bin/zentorix-cli" run "$sample" --generations 10 --quiet) >"$tmp/run.log" ||
        fail "$bin/zentorix-cli run $sample"
    grep -q '^10 ' "$tmp/run.log" || fail "$bin/zentorix-cli run $sample: $(cat "$tmp/run.log")"
    env -u QT_QPA_PLATFORM HOME="$tmp/home" xvfb-run -a -s '-screen 0 1280x1024x24' \
        bash -c '. "$1"; run_window "$2" "$3"' run_window "$here/common.sh" "$bin/zentorix" "$data"
    check_user_folder "$data"
}
run_programs "$root/usr/bin" "$root/usr/share/zentorix" "$tmp/unpacked-data"
lap "unpacked run"

if [ -z "${CI:-}" ]; then
    echo "package: built, checked and run unpacked (installing it is left to CI): ${laps[*]}"
    exit 0
fi

# On CI: installed, run, removed; nothing of it stays in /usr.
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq --no-install-recommends --reinstall "$deb" </dev/null >"$tmp/apt.log" 2>&1 || {
    cat "$tmp/apt.log"
    fail "apt-get install $deb"
}
lap "apt-get install"
dpkg-query -L zentorix >"$tmp/files"
[ "$(/usr/bin/zentorix-cli --version)" = "zentorix-cli $version" ] ||
    fail "the installed zentorix-cli --version"
run_programs /usr/bin /usr/share/zentorix "$tmp/installed-data"
# The system's file types now know the experiments and who opens them.
printf 'x = 3, y = 3\nbo$2bo$3o!\n' >"$tmp/glider.rle"
/usr/bin/zentorix-cli convert "$tmp/glider.rle" "$tmp/glider.zlf" >/dev/null
desktop_env=(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u XDG_DATA_DIRS
    XDG_DATA_HOME="$tmp/desktop/data" XDG_CONFIG_HOME="$tmp/desktop/config"
    XDG_CONFIG_DIRS="$tmp/desktop/config-dirs" HOME="$tmp/desktop")
type=$("${desktop_env[@]}" xdg-mime query filetype "$tmp/glider.zlf")
[ "$type" = application/x-zentorix-experiment ] || fail "an installed .zlf is $type"
default=$("${desktop_env[@]}" xdg-mime query default "$type")
[ "$default" = org.zentorix.Zentorix.desktop ] || fail "$type opens with '$default'"

lap "installed run"
apt-get remove --purge -y -qq zentorix </dev/null >"$tmp/apt.log" 2>&1 || {
    cat "$tmp/apt.log"
    fail "apt-get remove zentorix"
}
left=()
while read -r path; do
    # Folders that other packages own too (/usr/bin, ...) stay; nothing else of
    # the package may.
    if [ -d "$path" ]; then
        dpkg-query -S "$path" >/dev/null 2>&1 || left+=("$path")
    elif [ -e "$path" ] || [ -L "$path" ]; then
        left+=("$path")
    fi
done <"$tmp/files"
for own in /usr/share/zentorix /usr/share/doc/zentorix; do
    [ ! -e "$own" ] || left+=("$own")
done
[ ${#left[@]} -eq 0 ] || fail "left in /usr after removal: ${left[*]}"
lap "apt-get remove"
echo "package: built, checked, run unpacked, installed, run, removed cleanly: ${laps[*]}"
