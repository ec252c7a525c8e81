#!/usr/bin/env bash
# The pure cores stay pure: a file of a core folder (<folder>/core/) includes
# the C++ standard library and other cores only, never a Qt, OS or live-layer
# header; a core target (<name>_core) links other cores only, platform_core
# nothing at all. Read from the sources and CMake files, so a drift fails the
# ordinary unit run before it reaches a build that would hide it.
# usage: core_dependencies_test.sh (MRV_SOURCE_DIR names the tree)
set -u
root=${MRV_SOURCE_DIR:?}
cd "$root" || exit 1
std=" algorithm any array atomic bit bitset charconv chrono compare complex concepts
 deque exception format forward_list functional initializer_list iomanip ios iosfwd
 istream iterator limits list map memory new numbers numeric optional ostream queue
 random ranges ratio regex set span sstream stack stdexcept string string_view
 system_error tuple type_traits typeinfo unordered_map unordered_set utility variant
 vector version cassert cctype cerrno cfloat cinttypes climits cmath cstddef cstdint
 cstdio cstdlib cstring ctime cwchar "
std=${std//$'\n'/ }
source "$root/tests/testsupport/script-test.sh"

files=$(find . -path ./build\* -prune -o -path ./tests -prune -o -path ./tools -prune -o \
    -path '*/core/*' \( -name '*.cpp' -o -name '*.h' \) -print | sort)
[[ -n $files ]] || count_fail "no core sources found under $root"
for file in $files; do
    file=${file#./}
    while IFS= read -r line; do
        header=${line#*#include}
        header=${header//[[:space:]]/}
        case $header in
            \<*\>) name=${header:1:-1}
                [[ $std == *" $name "* ]] || count_fail "$file includes <$name>, not the standard library" ;;
            \"platform/core/*\") ;;
            \"*/core/*\")
                [[ $file == platform/core/* ]] &&
                    count_fail "$file includes $header: platform/core is the lowest core" ;;
            *) count_fail "$file includes $header, which is no core" ;;
        esac
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include' "$file")
done

# Each target_link_libraries(<name>_core ...) call, joined onto one line.
# shellcheck disable=SC2016 # awk's own fields
links=$(find . -path ./build\* -prune -o -name CMakeLists.txt -exec awk '
    /target_link_libraries\([A-Za-z0-9_]+_core[ )]/ { call = ""; open = 1 }
    open { call = call " " $0; if (index($0, ")")) { print FILENAME ":" call; open = 0 } }' {} +)
while IFS= read -r call; do
    [[ -n $call ]] || continue
    file=${call%%:*}
    args=${call#*target_link_libraries(}
    args=${args%%)*}
    read -r target deps <<<"$args"
    for dep in $deps; do
        case $dep in
            PUBLIC | PRIVATE | INTERFACE) ;;
            platform_core) [[ $target == platform_core ]] && count_fail "$file: platform_core links itself" ;;
            *_core) [[ $target == platform_core ]] && count_fail "$file: platform_core links $dep" ;;
            *) count_fail "$file: $target links $dep, which is no core" ;;
        esac
    done
done <<<"$links"
[[ -n $links ]] || count_fail "no core target links found"

checks_done "ok: $(wc -w <<<"$files") core files include only the standard library and cores; core targets link only cores"
