#!/usr/bin/env bash
# The house rules that a compiler cannot see, held tree-wide: every source
# file (C++, CMake, shell, Python) opens with the comment that says what it is
# for, and every NOLINT names its check and gives its reason on the same line.
# usage: house_rules_test.sh (MRV_SOURCE_DIR names the tree)
set -u
root=${MRV_SOURCE_DIR:?}
cd "$root" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The files the rule is about: tracked sources and scripts; seeds, crash
# reproducers, form descriptions, pictures and texts are no source.
files=$(git ls-files 2>/dev/null || find . -path ./build\* -prune -o -type f -print | sed 's|^\./||')
checked=0
while IFS= read -r file; do
    case $file in
        */corpus/* | */crashes/* | build*/*) continue ;;
        *.cpp | *.h) skip='^[[:space:]]*$|^#pragma once' opening='^(//|/\*)' ;;
        *.py) skip='^[[:space:]]*$|^#!' opening='^(#|""")' ;;
        CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh) skip='^[[:space:]]*$|^#!' opening='^#' ;;
        *) [[ -f $file && $(head -c 2 "$file") == '#!' ]] || continue
            skip='^[[:space:]]*$|^#!' opening='^#'
            [[ $(head -n 1 "$file") == *python* ]] && opening='^(#|""")' ;;
    esac
    [[ -f $file ]] || continue
    checked=$((checked + 1))
    first=$(grep -m1 -vE "$skip" "$file")
    [[ $first =~ $opening ]] || fail "$file does not open with a comment saying what it is for"
done <<<"$files"
((checked > 0)) || fail "no sources found under $root"

# NOLINT, NOLINTNEXTLINE and NOLINTBEGIN name their checks and say why after
# a colon; a NOLINTEND closes what its BEGIN explained.
while IFS= read -r hit; do
    [[ -n $hit ]] || continue
    [[ $hit =~ NOLINT(NEXTLINE|BEGIN)?\([a-z0-9.,*-]+\):\ [^[:space:]] || $hit =~ NOLINTEND\( ]] ||
        fail "NOLINT without its check and reason: $hit"
done < <(grep -E '\.(cpp|h)$' <<<"$files" | grep -v '^build' | tr '\n' '\0' |
    xargs -0 grep -Hn 'NOLINT' --)

((failures == 0)) || exit 1
echo "ok: $checked files open with their comment; every NOLINT names its check and reason"
