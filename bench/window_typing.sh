#!/usr/bin/env bash
# Typing in the real window: Tovin is started on a 16 KB and on a 16 MB Java file whose only
# comments are line comments (no block comment anywhere), on a virtual X display (Xvfb); 3000
# characters are typed at the end of the file with xdotool and the file is saved. Prints the time
# from the first typed character until the saved file is on disk, for each size, and their ratio
# (a key should cost the same at the end of a large file as in a small one).
#
#   bench/window_typing.sh [RUNS]        (default: 1 run of each size)
#
# Uses build/tovin (or $TOVIN_BUILD_DIR/tovin), which must be built. The user's settings are not
# touched: each run has a settings file of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1}
tovin=$(realpath "${TOVIN_BUILD_DIR:-build}/tovin")
[ -x "$tovin" ] || { echo "window_typing: build $tovin first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Methods with line comments, strings and keywords to the given size (CR LF).
/usr/bin/python3 - "$work" <<'PY'
import sys
folder = sys.argv[1]
for name, size in (("Small", 16 << 10), ("Large", 16 << 20)):
    parts = ["package bench;\r\n\r\npublic class %s {\r\n" % name]
    length, m = len(parts[0]), 0
    while length < size:
        part = ("    // Method %d returns a value.\r\n"
                "    public static int method%d(int value, String name) {\r\n"
                "        if (value > %d && name != null) {\r\n"
                "            return value * 31 + \"text %d\".length(); // tail\r\n"
                "        }\r\n        return 0;\r\n    }\r\n\r\n") % (m, m, m, m)
        parts.append(part)
        length += len(part)
        m += 1
    parts.append("}\r\n")
    with open("%s/%s.java" % (folder, name), "w", newline="") as out:
        out.write("".join(parts))
PY

# What is typed: 3000 characters, a statement per line. xdotool types a CR as the Return key
# (an LF would be the Linefeed key, which types nothing).
/usr/bin/python3 - "$work/typed.txt" <<'PY'
import sys
line = "x = x + 1; // typed\r"
text = (line * (3000 // len(line) + 1))[:3000]
open(sys.argv[1], "w", newline="").write(text)
PY

cat >"$work/Tovin.conf" <<'CONF'
[OPTIONS]
LOADLAST=0
[Tip]
StartUp=1
CONF

# One run on one file, inside the virtual display: prints the seconds from the first typed
# character until the file is saved.
cat >"$work/type.sh" <<'RUN'
#!/usr/bin/env bash
set -euo pipefail
tovin=$1 settings=$2 file=$3 typed=$4
unset QT_QPA_PLATFORM
"$tovin" --settings "$settings" "$file" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT
window=""
for _ in $(seq 600); do
    window=$(xdotool search --name "^Tovin - .*$(basename "$file")" 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "window_typing: Tovin's window did not appear" >&2; exit 1; }
sleep 3 # the open, its colouring and the first paints
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+End
sleep 1
before=$(stat -c %Y.%y "$file")
start=$(date +%s.%N)
xdotool type --delay 0 --file "$typed"
xdotool key --clearmodifiers ctrl+s
for _ in $(seq 6000); do
    [ "$(stat -c %Y.%y "$file")" != "$before" ] && break
    sleep 0.005
done
end=$(date +%s.%N)
[ "$(stat -c %Y.%y "$file")" != "$before" ] || { echo "window_typing: not saved" >&2; exit 1; }
# Every typed line reached the file.
lines=$(grep -c "x = x + 1; // typed" "$file" || true)
[ "$lines" -ge "$(tr '\r' '\n' <"$typed" | grep -c typed)" ] ||
    { echo "window_typing: keys were lost" >&2; exit 1; }
echo "$start $end" | awk '{ printf "%.3f\n", $2 - $1 }'
RUN
chmod +x "$work/type.sh"

# Each run has its own settings file (so its own single-instance channel) and starts looking
# for a free display at a random number, away from other runs on the machine.
type_into() {
    cp "$work/$1.java" "$work/run/$1.java"
    cp "$work/Tovin.conf" "$work/run/$1.conf"
    xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x860x24" "$work/type.sh" "$tovin" \
        "$work/run/$1.conf" "$work/run/$1.java" "$work/typed.txt"
}

mkdir -p "$work/run"
for run in $(seq "$runs"); do
    small=$(type_into Small)
    large=$(type_into Large)
    echo "$small $large" | awk -v run="$run" \
        '{ printf "run %d: 16 KB %.2f s, 16 MB %.2f s, ratio %.2f\n", run, $1, $2, $2 / $1 }'
done
