#!/usr/bin/env bash
# The reader's first page beside pdftoppm's on the demo library's long and short books, as whole processes:
# median wall time of RUNS runs each, taken in turns. Needs poppler-utils (pdftoppm) and a built tree.
set -euo pipefail
build=${ELUMIRA_BUILD_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}
runs=${RUNS:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mapfile -t books < <("$build/bench/reader_first_page" --write-books "$work/books")

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
wall_ms() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N); echo $(( (t1 - t0) / 1000000 )); }

for book in "${books[@]}"; do
    ours=() theirs=()
    for _ in $(seq "$runs"); do
        ours+=("$(wall_ms "$build/bench/reader_first_page" "$book")")
        theirs+=("$(wall_ms pdftoppm -r 96 -f 1 -l 1 "$book" "$work/page")")
    done
    a=$(printf '%s\n' "${ours[@]}" | median)
    b=$(printf '%s\n' "${theirs[@]}" | median)
    printf '%-28s reader %5d ms   pdftoppm %5d ms   ratio %s\n' "$(basename "$book")" "$a" "$b" \
        "$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }')"
done
