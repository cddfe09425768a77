#!/usr/bin/env bash
# The Java engine's costs through its protocol: a check after a one-character edit of a 500-line
# and a 5,000-line file (median of 20, engine warm, beside javac on the same file), the first
# diagnostics after opening a 50-file project, and the engine's memory after checking a
# 300-file project (java.util's sources from the JDK's src.zip, package openjdk-17-source).
#
#   bench/engine_check.sh [edit,open,memory]     (the parts to run; default all)
#
# Uses build/data/engine/tovin-engine.jar (or $TOVIN_BUILD_DIR's), which must be built.
set -euo pipefail
cd "$(dirname "$0")/.."
jar=$(realpath "${TOVIN_BUILD_DIR:-build}/data/engine/tovin-engine.jar")
gson=/usr/share/java/gson.jar
[ -f "$jar" ] || { echo "engine_check: build $jar first (ninja tovin_engine)" >&2; exit 1; }
java_home=${JAVA_HOME:-$(dirname "$(dirname "$(realpath "$(command -v javac)")")")}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sources=()
src_zip="$java_home/lib/src.zip"
if [ -f "$src_zip" ]; then
    (cd "$work" && unzip -q "$src_zip" 'java.base/java/util/*')
    sources=("$work/java.base")
else
    echo "engine_check: no $src_zip (openjdk-17-source): the memory figure is left out" >&2
fi
"$java_home/bin/java" -cp "$gson" -Dparts="${1:-edit,open,memory}" bench/EngineCheckBench.java "$jar" "$gson" "$work" "${sources[@]}"
