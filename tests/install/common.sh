# Shared by the tests of the installed program and of its package.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The files under a folder, one a line, sorted, relative to it.
tree_of() {
    (cd "$1" && find . -mindepth 1 \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
}

# Runs the window program ($1) with the user data home $2 until its start-up is
# over (undo state 1 written), then asks it to close as a session does
# (SIGTERM: the window closes and writes its settings file). Further arguments
# go to the program.
run_window() {
    local program=$1 data=$2
    shift 2
    local undo=$data/Zentorix/QuickSave/undo/1.qlf
    XDG_DATA_HOME=$data "$program" "$@" &
    local pid=$! tries=0
    until [ -e "$undo" ]; do
        kill -0 "$pid" 2>/dev/null || fail "$program ended during start-up"
        tries=$((tries + 1))
        if [ "$tries" -gt 600 ]; then
            kill -KILL "$pid"
            fail "$program did not finish starting in 60 s"
        fi
        sleep 0.1
    done
    kill -TERM "$pid"
    local status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "$program ended with status $status"
}

# The user's folder after a first start holds what the program wrote and
# nothing of what ships; the settings name the shipped language it found.
check_user_folder() {
    local root=$1/Zentorix expected
    expected=$(printf '%s\n' QuickSave/undo/1.qlf Zentorix.ini)
    [ "$(tree_of "$root")" = "$expected" ] || fail "the user's folder holds: $(tree_of "$root" | tr '\n' ' ')"
    local folders
    folders=$(cd "$root" && find . -mindepth 1 -type d -printf '%P\n' | LC_ALL=C sort | tr '\n' ' ')
    [ "$folders" = "Color Field QuickSave QuickSave/undo Rules " ] || fail "the user's folders: $folders"
    grep -aq '^#Language *ukraine\.lng' "$root/Zentorix.ini" ||
        fail "the settings name no shipped language: the language files were not found"
}

# The first experiment of the shipped library, for a run.
first_sample() {
    find "$1/Museum" -name '*.zlf' 2>/dev/null | LC_ALL=C sort | head -n 1
}
