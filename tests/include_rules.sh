#!/usr/bin/env bash
# Includes run one way: main and the window table -> topics and menus -> kit and plot ->
# the Qt-free core. Fails listing every include that points up or across.
set -u
src="${1:?usage: include_rules.sh <src folder>}"
cd "$src" || exit 2

layer_of() {  # layer of a path relative to src/: 0 core, 1 plot, 2 kit, 3 topic, 4 top
    case "$1" in
        core/*) echo 0 ;;
        plot/*) echo 1 ;;
        kit/*) echo 2 ;;
        main.cpp | window_table.*) echo 4 ;;
        */*) echo 3 ;;
        *) echo 4 ;;
    esac
}

bad=0
while IFS= read -r file; do
    from=$(layer_of "$file")
    from_topic=${file%%/*}
    while IFS= read -r inc; do
        [ -f "$inc" ] || continue  # a system or Qt header
        to=$(layer_of "$inc")
        to_topic=${inc%%/*}
        if [ "$to" -gt "$from" ]; then
            echo "$file includes $inc, which lies above it"
            bad=1
        elif [ "$from" -eq 3 ] && [ "$to" -eq 3 ] && [ "$from_topic" != "$to_topic" ]; then
            echo "$file includes $inc, from another topic"
            bad=1
        fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's#^\./##' | sort)

# The Qt-free core, plot's number conventions and the models name no Qt header.
for file in core/*.h core/*.cpp plot/numtext.* plot/rounding.* plot/random.* plot/colors.h */*_model.h */*_model.cpp; do
    [ -f "$file" ] || continue
    if grep -q '^#include <Q' "$file"; then
        echo "$file includes Qt, but belongs to the Qt-free core"
        bad=1
    fi
done
[ "$bad" -eq 0 ] && echo "includes run one way"
exit "$bad"
