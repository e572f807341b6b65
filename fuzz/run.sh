#!/usr/bin/env bash
# Runs every fuzz target of a built fuzz tree.
#   run.sh <fuzz tree> <seconds>   the targets share the seconds between them, and what each finds
#                                  new is kept in <fuzz tree>/corpus/<target> for the next run
#   run.sh --smoke <fuzz tree>     each target runs its seeds and a few seconds more, keeping
#                                  nothing: the check that `make test` makes
# Seeds come from the fixtures and from the real-world files beside the repository. A target that
# fails leaves its input in <fuzz tree>/findings; the run ends with status 1 when any failed.
set -uo pipefail

smoke=0
if [ "${1:-}" = "--smoke" ]; then
    smoke=1
    shift
fi
tree=${1:?usage: run.sh [--smoke] <fuzz tree> [seconds]}
seconds=${2:-300}
here=$(cd "$(dirname "$0")" && pwd)
realworld=${TW_CORPUS_DIR:-$here/../../shared/corpus}
smoke_seconds=${FUZZ_SMOKE_SECONDS:-4}

targets=(id3v2 id3v1 mpegproperties mpegfile playlist columnsorder autorenamepresets commandline)

rm -rf "$tree/seeds"
args=("$tree/seeds")
[ -d "$realworld" ] && args+=("$realworld")
"$tree/bin/fuzz_seeds" "${args[@]}" || exit 1
mkdir -p "$tree/findings"

# The seconds are shared out as the run goes, so that starting and stopping each target counts
# against the whole.
deadline=$((SECONDS + seconds))

# Scratch space, in memory where there is some: the smoke run's corpora, and the targets'
# temporary files (also those of a target that crashed).
scratch=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/tmp"
export TMPDIR="$scratch/tmp"

failed=()
left=${#targets[@]}
for t in "${targets[@]}"; do
    if [ $smoke -eq 1 ]; then
        per_target=$smoke_seconds
    else
        per_target=$(((deadline - SECONDS) / left))
        [ "$per_target" -lt 1 ] && per_target=1
    fi
    left=$((left - 1))
    if [ $smoke -eq 1 ]; then
        corpus="$scratch/$t"
    else
        corpus="$tree/corpus/$t"
    fi
    mkdir -p "$corpus" "$tree/seeds/$t"
    log="$tree/findings/$t.log"
    printf '%-20s %3ds ... ' "$t" "$per_target"
    # -timeout: one input taking longer is a hang; -rss_limit_mb: one using more is a finding.
    if "$tree/bin/fuzz_$t" -max_total_time="$per_target" -timeout=20 -rss_limit_mb=2048 \
        -artifact_prefix="$tree/findings/$t-" -print_final_stats=1 \
        "$corpus" "$tree/seeds/$t" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "ok (${runs:-?} runs)"
    else
        echo "FAILED, see $log"
        grep -E 'fuzz check failed|ERROR:|SUMMARY:' "$log" | head -3 | sed 's/^/    /'
        failed+=("$t")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzz targets that failed: ${failed[*]} (inputs in $tree/findings)"
    exit 1
fi
echo "All fuzz targets passed."
