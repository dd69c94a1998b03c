#!/usr/bin/env bash
# Runs tessarin-cli again and again in one directory and kills each run with SIGKILL at a random
# moment of its short life, until KILLS runs were killed (some finish before their kill comes). After every run, Result.txt must be a report the program wrote whole:
# the report of an earlier run, or one run's step 1 alone, or one run's step 1 and step 2. Two
# designs alternate (they differ in both sections), so a report mixed from two runs, or the new
# step 1 followed by the rest of an old report, is caught. At the end a normal run must get the
# report at once (no lock left behind) and leave nothing else in the directory.
#
#   report_kill_loop.sh CLI WORK [KILLS]
#
# CTest runs it with a few hundred kills in the ordinary suite and with 2,000 under the label
# "long" (the test preset "long", run once by CI).
set -euo pipefail
cli="$1"
work="$2"
kills="${3:-300}"
# A loop whose kills all come too late tests nothing: it fails when fewer than one run in four
# was killed.
max_runs=$((kills * 4))

rm -rf "$work"
mkdir -p "$work/reference" "$work/loop"

designA=()
designB=(--N 2500 --scheme 2 --ratio-x 0.3 --ratio-y 0.25)

# Reads a whole file into the variable named $1 without starting a process (the report holds no
# NUL byte).
slurp() {
    IFS= read -r -d '' "$1" <"$2" || true
}

# The allowed contents: each design's whole report and its step 1 alone.
marker="$(printf '选用第 ' | iconv -f UTF-8 -t GBK)"
allowed=()
for design in A B; do
    dir="$work/reference/$design"
    mkdir -p "$dir"
    if [[ $design == A ]]; then args=("${designA[@]}"); else args=("${designB[@]}"); fi
    (cd "$dir" && "$cli" "${args[@]}" >/dev/null)
    offset="$(LC_ALL=C grep -boa "$marker" "$dir/Result.txt" | head -n 1 | cut -d: -f1)"
    head -c "$offset" "$dir/Result.txt" >"$dir/step1.txt"
    slurp whole "$dir/Result.txt"
    slurp first "$dir/step1.txt"
    allowed+=("$whole" "$first")
done

# How long one run lives on this machine now, in 0.1 ms: the kills are spread over that time
# (and a little beyond), however loaded the machine is. The loop adjusts it as it goes.
start=$(date +%s%N)
for ((i = 0; i < 5; i++)); do (cd "$work/reference/A" && "$cli" >/dev/null); done
lifetime=$((($(date +%s%N) - start) / 500000 + 1))

# Waits without starting a process: read with a timeout on a pipe nobody writes to.
mkfifo "$work/never"
exec 3<>"$work/never"

cd "$work/loop"
cp "$work/reference/A/Result.txt" Result.txt
killed=0
finished=0
for ((run = 0; killed < kills; run++)); do
    if ((run >= max_runs)); then
        echo "only $killed of $run runs were killed: the kills come too late to test anything" >&2
        exit 1
    fi
    if ((run % 2 == 0)); then args=("${designA[@]}"); else args=("${designB[@]}"); fi
    "$cli" "${args[@]}" >/dev/null 2>&1 &
    pid=$!
    # From before the program starts to after it has finished.
    delay=$((RANDOM % (lifetime * 5 / 4 + 1)))
    read -r -t "$((delay / 10000)).$(printf '%04d' $((delay % 10000)))" -u 3 || true
    kill -9 "$pid" 2>/dev/null || true
    # The window follows the machine's load: a run that finished before its kill shortens it, a
    # killed one lengthens it a little, so that about four runs in five are killed and the kills
    # still cover a run's whole life.
    if wait "$pid" 2>/dev/null; then
        finished=$((finished + 1))
        lifetime=$((lifetime * 9 / 10 + 1))
    else
        killed=$((killed + 1))
        lifetime=$((lifetime * 103 / 100 + 1))
    fi
    slurp left Result.txt
    whole=no
    for ok in "${allowed[@]}"; do
        if [[ $left == "$ok" ]]; then whole=yes; break; fi
    done
    if [[ $whole == no ]]; then
        echo "run $run left a report that no run wrote whole:" >&2
        iconv -f GBK -t UTF-8 Result.txt >&2 || cat Result.txt >&2
        exit 1
    fi
done

# No lock survives its holder: this run waits for nobody.
start=$(date +%s%N)
"$cli" >/dev/null
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
if ((elapsed_ms > 1000)); then
    echo "the run after the loop waited ${elapsed_ms} ms for a lock" >&2
    exit 1
fi
cmp -s Result.txt "$work/reference/A/Result.txt" || { echo "the last report is not whole" >&2; exit 1; }
leftovers="$(ls -A | grep -v '^Result.txt$' || true)"
if [[ -n $leftovers ]]; then
    echo "left in the directory: $leftovers" >&2
    exit 1
fi
echo "$run runs (kills spread over about $((lifetime / 10)).$((lifetime % 10)) ms): $killed killed," \
    "$finished finished; every report whole"
