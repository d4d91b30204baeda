#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks it as a user's desktop
# would see it: every file where it belongs, the desktop entry and the
# software-centre entry valid, the file types known and opened by the program,
# the manual pages clean, and both programs running from there with an
# executable folder that is not written and a fresh user data folder.
#   installed_layout_test.sh BUILD VERSION SOURCE
set -euo pipefail
build=$1 version=$2 source=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/common.sh"

tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || {
    cat "$tmp/install.log"
    fail "cmake --install"
}
id=org.zentorix.Zentorix

# Every file where it belongs: the shipped data as it is in the sources, and
# exactly these files besides.
diff -r "$source/data" "$prefix/share/zentorix" || fail "share/zentorix differs from data/"
expected=$(
    LC_ALL=C sort <<EOF
bin/zentorix
bin/zentorix-cli
share/applications/$id.desktop
share/doc/zentorix/changelog.gz
share/doc/zentorix/copyright
share/icons/hicolor/128x128/apps/$id.png
share/icons/hicolor/16x16/apps/$id.png
share/icons/hicolor/22x22/apps/$id.png
share/icons/hicolor/24x24/apps/$id.png
share/icons/hicolor/256x256/apps/$id.png
share/icons/hicolor/32x32/apps/$id.png
share/icons/hicolor/48x48/apps/$id.png
share/icons/hicolor/64x64/apps/$id.png
share/icons/hicolor/scalable/apps/$id.svg
share/man/man1/zentorix-cli.1.gz
share/man/man1/zentorix.1.gz
share/metainfo/$id.metainfo.xml
share/mime/packages/$id.xml
EOF
)
installed=$(tree_of "$prefix" | grep -v '^share/zentorix/')
[ "$installed" = "$expected" ] || {
    diff <(echo "$expected") <(echo "$installed") || true
    fail "the installed files are not the expected ones"
}
for program in zentorix zentorix-cli; do
    [ -x "$prefix/bin/$program" ] || fail "$program is not executable"
done
# Each picture has the size its folder names.
for png in "$prefix"/share/icons/hicolor/*/apps/$id.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    [[ "$(file -b "$png")" == "PNG image data, ${size/x/ x },"* ]] || fail "$png is not $size"
done

# The desktop's validators have nothing to object; the manual pages format
# without a warning and name this version, and so does the release list.
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$tmp/appstream.log" || {
    cat "$tmp/appstream.log"
    fail "appstreamcli validate"
}
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo has no release entry for $version"
for page in zentorix zentorix-cli; do
    man_file=$prefix/share/man/man1/$page.1.gz
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$man_file" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page(1): $warnings"
    [[ "$(zcat "$man_file")" == *"\"Zentorix $version\""* ]] || fail "$page(1) does not name $version"
done

# The file types: the program's own experiment type by name and by content,
# the Life pattern types, each opened by the program's desktop entry.
update-mime-database "$prefix/share/mime"
update-desktop-database "$prefix/share/applications"
samples=$tmp/samples
mkdir -p "$samples"
printf 'x = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n' >"$samples/glider.rle"
"$prefix/bin/zentorix-cli" convert "$samples/glider.rle" "$samples/glider.zlf" >/dev/null
cp "$samples/glider.zlf" "$samples/glider-without-extension"
printf '#Life 1.06\n0 0\n1 0\n2 0\n' >"$samples/blinker.lif"
printf '#MCell 4.20\n#GAME Life\n#L ***\n' >"$samples/blinker.mcl"
printf 'd...R' >"$samples/pattern.l"
desktop_env=(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION
    -u GNOME_DESKTOP_SESSION_ID XDG_DATA_DIRS="$prefix/share:/usr/share"
    XDG_DATA_HOME="$tmp/desktop/data" XDG_CONFIG_HOME="$tmp/desktop/config"
    XDG_CONFIG_DIRS="$tmp/desktop/config-dirs" HOME="$tmp/desktop")
while read -r name type; do
    found=$("${desktop_env[@]}" xdg-mime query filetype "$samples/$name")
    [ "$found" = "$type" ] || fail "$name is $found, not $type"
    default=$("${desktop_env[@]}" xdg-mime query default "$type")
    [ "$default" = "$id.desktop" ] || fail "$type opens with '$default', not $id.desktop"
done <<EOF
glider.zlf application/x-zentorix-experiment
glider-without-extension application/x-zentorix-experiment
glider.rle application/x-life-rle
blinker.lif application/x-life
blinker.mcl application/x-mcell
pattern.l application/x-life2
EOF

# The programs, from an executable folder that is not written (a user's
# install) and a user data folder that does not exist yet.
chmod -R a-w "$prefix"
before=$(cd "$prefix" && find . -printf '%P %s %T@\n' | LC_ALL=C sort)
cli_version=$("$prefix/bin/zentorix-cli" --version)
[ "$cli_version" = "zentorix-cli $version" ] || fail "zentorix-cli --version: $cli_version"
# --help and --version answer on a terminal without a display.
window_version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/zentorix" --version)
[ "$window_version" = "Zentorix $version" ] || fail "zentorix --version: $window_version"
window_help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/zentorix" --help)
[[ "$window_help" == *"[FILE]"* ]] || fail "zentorix --help names no FILE: $window_help"
status=0
QT_QPA_PLATFORM=offscreen "$prefix/bin/zentorix" --no-such-option 2>"$tmp/unknown.log" || status=$?
[ "$status" -eq 1 ] && grep -q 'no-such-option' "$tmp/unknown.log" ||
    fail "an unknown option: status $status, $(cat "$tmp/unknown.log")"

sample=$(first_sample "$prefix/share/zentorix")
[ -n "$sample" ] || fail "the Museum ships no experiment"
(cd "$tmp" && "$prefix/bin/zentorix-cli" run "$sample" --generations 10 --quiet) >"$tmp/run.log" ||
    fail "zentorix-cli run $sample"
grep -q '^10 ' "$tmp/run.log" || fail "zentorix-cli run $sample: $(cat "$tmp/run.log")"

# The window's first start: the pattern named on the command line is opened
# (it is in undo state 1), the shipped language is found, and the user's
# folder is made with only what the program writes.
export QT_QPA_PLATFORM=offscreen
HOME=$tmp/home run_window "$prefix/bin/zentorix" "$tmp/data" "$samples/glider.rle"
check_user_folder "$tmp/data"
grep -aq '^#L .*[A-Za-z]' "$tmp/data/Zentorix/QuickSave/undo/1.qlf" ||
    fail "the command-line pattern is not in undo state 1"
after=$(cd "$prefix" && find . -printf '%P %s %T@\n' | LC_ALL=C sort)
[ "$before" = "$after" ] || fail "something in the install was written"
echo "installed layout: all checks passed"
