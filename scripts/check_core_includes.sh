#!/usr/bin/env bash
# The core's folders depend one way: model/ on nothing else, then engine/,
# rules/, formats/, then view/, stats/ and i18n/, and on top census/; platform/ (outside the
# core, the few system calls of a save) sits below them all. Lists every include
# that points the other way, and any system header of the platform, and fails
# when there is one.
set -euo pipefail
core="${1:-$(dirname "${BASH_SOURCE[0]}")/../src/core}"

rank() {
    case "$1" in
    platform) echo -1 ;;
    model) echo 0 ;;
    engine) echo 1 ;;
    rules) echo 2 ;;
    formats) echo 3 ;;
    view | stats | i18n) echo 4 ;;
    census) echo 5 ;;
    *) echo 9 ;;
    esac
}

bad=0
while IFS= read -r hit; do
    file=${hit%%:*}
    from=${file#"$core"/}
    from=${from%%/*}
    target=$(sed -E 's/.*#include "([a-z0-9_]+)\/.*/\1/' <<<"$hit")
    [ "$from" = "$target" ] && continue
    if [ "$(rank "$target")" -ge "$(rank "$from")" ]; then
        echo "wrong way: $hit"
        bad=1
    fi
done < <(grep -rHn --include='*.h' --include='*.cpp' -E '^#include "[a-z0-9_]+/' "$core")
# The core is standard C++: operating-system headers live in platform/ only.
while IFS= read -r hit; do
    echo "system header in the core: $hit"
    bad=1
done < <(grep -rHn --include='*.h' --include='*.cpp' -E \
    '^#include <(unistd|fcntl|signal|dirent|dlfcn|pthread|windows)\.h>|^#include <sys/|^#include <Q' "$core")
[ "$bad" -eq 0 ] && echo "core includes point one way"
exit "$bad"
