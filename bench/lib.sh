# shellcheck shell=bash
# lib.sh - sourced by the benchmark scripts.
#   stats   min and median of the numbers on standard input, as "MIN MEDIAN"

stats() {
    sort -g | awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%s %s\n", v[1], m }'
}
