# Shared by the cluster tests: the threaded sweep the planned jobs must
# reproduce, and the comparison of the two result trees.
# Arguments of the scripts: BUILD_DIR SOURCE_DIR.
set -eu
BUILD=$1
SOURCE=$2
SIM="$BUILD/quentor-sim"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quentor-cluster.XXXXXX")
SWEEP_ARGS="-s T=0.004 --vary R1.R=500,1000,1500,2000 --measure u=final(A1) --measure rise=rise10-90(A1)"
EXAMPLE="$SOURCE/examples/rc.dvn"

threaded_sweep() {
    "$SIM" -q -j 2 -o "$WORK/threaded" $SWEEP_ARGS "$EXAMPLE"
}

plan() {
    "$SIM" -q --plan "$WORK/plan" $SWEEP_ARGS "$EXAMPLE"
    test "$(wc -l < "$WORK/plan/jobs.txt")" -eq 4
    grep -q -- '--array=1-4' "$WORK/plan/slurm.sh"
}

# The collected summary and every variant's files equal the threaded sweep's.
compare() {
    "$SIM" -q --collect "$WORK/plan"
    if ! cmp "$WORK/threaded/summary.csv" "$WORK/plan/summary.csv"; then
        diff "$WORK/threaded/summary.csv" "$WORK/plan/summary.csv" || true
        exit 1
    fi
    test "$(wc -l < "$WORK/plan/summary.csv")" -eq 5
    for n in 0001 0002 0003 0004; do
        for f in graf.dat graf.grp; do
            cmp "$WORK/threaded/run-$n/$f" "$WORK/plan/run-$n/$f"
        done
    done
    echo "summary.csv and the result files of 4 variants are identical"
}
