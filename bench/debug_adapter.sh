#!/usr/bin/env bash
# The debugger's figures: from the start to the first breakpoint of a small program, Step Over
# to the variables shown (median of 50), the adapter's memory. Uses the engine's jar of the build
# ($TOVIN_BUILD_DIR or build) when there is one, else compiles the adapter's classes from engine/.
#
#   bench/debug_adapter.sh [RUNS]        (default: 3 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
gson=/usr/share/java/gson.jar
jar="${TOVIN_BUILD_DIR:-build}/data/engine/tovin-engine.jar"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -f "$jar" ]; then
    classes=$(realpath "$jar")
else
    javac --release 17 -encoding UTF-8 -cp "$gson" -d "$work/classes" engine/src/main/java/tovin/engine/Debug*.java
    classes="$work/classes"
fi
for run in $(seq "$runs"); do
    echo "run $run"
    java -cp "$gson" bench/DebugAdapterBench.java "$classes:$gson"
done
