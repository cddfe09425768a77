#!/usr/bin/env bash
# Completion through the Java engine's protocol: after "." with the engine warm, in a 200-line
# and a 5,000-line file (median and 95th percentile of 40 requests each, in one run, and their
# ratio), and the first completion after the engine starts.
#
#   bench/engine_complete.sh
#
# Uses build/data/engine/tovin-engine.jar (or $TOVIN_BUILD_DIR's), which must be built.
set -euo pipefail
cd "$(dirname "$0")/.."
jar=$(realpath "${TOVIN_BUILD_DIR:-build}/data/engine/tovin-engine.jar")
gson=/usr/share/java/gson.jar
[ -f "$jar" ] || { echo "engine_complete: build $jar first (ninja tovin_engine)" >&2; exit 1; }
java_home=${JAVA_HOME:-$(dirname "$(dirname "$(realpath "$(command -v javac)")")")}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$java_home/bin/java" -cp "$gson" bench/EngineCompleteBench.java "$jar" "$gson" "$work"
