#!/usr/bin/env bash
# The library views side by side with plain references, median of RUNS runs (default 5), as ratios:
#   1. every generated page (the demo's, after a walk, and long ones: 100 sections x 20 tiles, 1,000 rows) loaded
#      until interactive, beside the same page with its scripts removed, and the same page with its libraries only
#      (no shared page script, no inline script) beside that too: the part of the ratio no page script can lower;
#   2. a "Selebihnya" on a home page of 50 sections beside one on a page of 10 sections;
#   3. PSS of all processes after the seven-view walk beside Debian's Chromium holding the same seven pages in tabs
#      (skipped when `chromium` is not installed: apt-get install chromium);
#   4. start-up to the log-in page beside a bare browser window showing a blank page (Qt's default set-up: the
#      program composes its views in software when the engine runs without a GPU, the bare window does not).
# Needs a built tree (targets page_load_bench, elumira-demo-service) and Xvfb when there is no display.
# PARTS chooses what runs (default "load more memory startup").
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${ELUMIRA_BUILD_DIR:-$here/build}
runs=${RUNS:-5}
parts=${PARTS:-load more memory startup}

if [ -z "${DISPLAY:-}" ] && [ -z "${BENCH_UNDER_XVFB:-}" ]; then
    BENCH_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$@"
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The program and the bench keep their data folder, cache and settings in the work folder.
export XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache XDG_CONFIG_HOME=$work/config
[ "$(id -u)" = 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS=${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}
export RUNS=$runs
bench=$build/bench/page_load_bench

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# A process and all its descendants.
tree() {
    local p=$1 c
    echo "$p"
    for c in $(cat /proc/"$p"/task/*/children 2>/dev/null); do tree "$c"; done
}
# PSS of a process tree in MiB.
tree_pss() {
    local total=0 p kb
    for p in $(tree "$1"); do
        kb=$(awk '/^Pss:/ { print $2 }' /proc/"$p"/smaps_rollup 2>/dev/null || echo 0)
        total=$((total + ${kb:-0}))
    done
    echo $((total / 1024))
}
wait_for_line() { # FILE TEXT SECONDS
    local i
    for ((i = 0; i < $3 * 10; i++)); do
        grep -q "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

mkdir -p "$work/books" "$work/pages" "$work/long"
"$build/demo/elumira-demo-service" --port 0 --data-dir "$work/books" >"$work/service.log" 2>&1 &
pids+=($!)
wait_for_line "$work/service.log" listening 60 || { echo "the demo service did not start" >&2; exit 1; }
port=$(sed -n 's/.*listening on 127.0.0.1:\([0-9]*\).*/\1/p' "$work/service.log" | head -1)
export ELUMIRA_SERVICE_URL=http://127.0.0.1:$port

# The walk writes the seven generated pages (and the log-in page); they are kept for the load and memory parts.
"$bench" walk "$work/pages" >"$work/walk.log" 2>"$work/walk.err" &
walker=$!
pids+=($walker)
wait_for_line "$work/walk.log" READY 180 || { cat "$work/walk.err" >&2; echo "the walk did not finish" >&2; exit 1; }
seven=(index.html category.html category_detail.html topChart.html detail.html search_result.html index_detail.html)

if [[ " $parts " == *" memory "* ]]; then
    sleep 5
    ours=$(tree_pss "$walker")
    main=$(( $(awk '/^Pss:/ { print $2 }' /proc/"$walker"/smaps_rollup) / 1024 ))
    count=$(tree "$walker" | wc -l)
fi
kill "$walker" 2>/dev/null || true

echo "== 1. load until interactive, beside the same page without scripts (median of $runs, ms)"
if [[ " $parts " == *" load "* ]]; then
    "$bench" long-pages "$work/long" >/dev/null
    files=("$work/pages/login.html")
    for f in "${seven[@]}"; do files+=("$work/pages/$f"); done
    files+=("$work/long/long_index.html" "$work/long/long_topChart.html" "$work/long/long_index_detail.html")
    "$bench" load "${files[@]}" 2>/dev/null
fi

echo "== 2. Selebihnya on a home page of 50 sections, beside one on 10 sections (median of $runs)"
[[ " $parts " == *" more "* ]] && "$bench" more 2>/dev/null

echo "== 3. memory after the seven-view walk, PSS of all processes"
if [[ " $parts " == *" memory "* ]]; then
    printf 'program: %d MiB in %d processes (main process %d MiB)\n' "$ours" "$count" "$main"
    if command -v chromium >/dev/null; then
        urls=()
        for f in "${seven[@]}"; do urls+=("file://$work/pages/$f"); done
        chromium --no-sandbox --disable-gpu --no-first-run --disable-background-networking --no-default-browser-check \
            --user-data-dir="$work/chromium" --window-size=1280,860 "${urls[@]}" >/dev/null 2>&1 &
        browser=$!
        pids+=($browser)
        sleep 15
        theirs=$(tree_pss "$browser")
        kill "$browser" 2>/dev/null || true
        printf 'chromium: %d MiB in %d processes   ratio %s\n' "$theirs" "$(tree "$browser" | wc -l)" \
            "$(ratio "$ours" "$theirs")"
    else
        echo "chromium: not installed (apt-get install chromium), no comparison"
    fi
fi

echo "== 4. start-up to the log-in page, beside a bare browser window with a blank page (median of $runs, ms)"
if [[ " $parts " == *" startup "* ]]; then
    ours=() theirs=()
    for _ in $(seq "$runs"); do
        ours+=("$(BENCH_T0_NS=$(date +%s%N) "$bench" startup 2>/dev/null)")
        theirs+=("$(BENCH_T0_NS=$(date +%s%N) "$bench" bare 2>/dev/null)")
    done
    a=$(printf '%s\n' "${ours[@]}" | median)
    b=$(printf '%s\n' "${theirs[@]}" | median)
    printf 'program %d ms   bare window %d ms   ratio %s\n' "$a" "$b" "$(ratio "$a" "$b")"
fi
