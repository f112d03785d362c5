#!/usr/bin/env bash
# The README's run command, as a new user types it on a clean clone, under a
# virtual display: it builds Zelvo, without a compiler warning and without
# the picture generators, and the title window must appear.
#   ProvaAvvio.sh SOURCE-REPOSITORY
set -euo pipefail
SORGENTE="$1"
LAVORO="$(mktemp -d)"
trap 'rm -rf "$LAVORO"' EXIT
git clone -q "$SORGENTE" "$LAVORO/zelvo"
cd "$LAVORO/zelvo"

# Inside the virtual display: the command in the background, then the title
# window ("Form1 — Zelvo") looked for among the display's windows.
# The command is read from the README (its first shell block), so the test
# follows what the user is told to type.
COMANDO="$(awk '/^```sh/ { dentro = 1; next } /^```/ { if (dentro) exit } dentro' README.md | head -n 1)"
[ -n "$COMANDO" ] || { echo "nessun comando nel primo blocco sh del README" >&2; exit 1; }
echo "README: $COMANDO"
cat > "$LAVORO/dentro.sh" <<'DENTRO'
set -u
bash -c "exec $2" > "$1" 2>&1 &
pid=$!
for _ in $(seq 1 900); do
    if xwininfo -root -tree | grep -q '"Form1 — Zelvo"'; then
        kill "$pid"
        exit 0
    fi
    if ! kill -0 "$pid" 2> /dev/null; then
        echo "$2 è finito senza aprire la finestra del titolo:" >&2
        tail -n 30 "$1" >&2
        exit 1
    fi
    sleep 1
done
echo "la finestra del titolo non è apparsa in 15 minuti" >&2
kill "$pid"
exit 1
DENTRO
# The suite runs under QT_QPA_PLATFORM=offscreen: the program must show on
# the virtual display instead, as it would for the user.
env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x1024x24" bash "$LAVORO/dentro.sh" "$LAVORO/uscita.txt" "$COMANDO"

# The build it made (from scratch, on a clean clone) printed no compiler
# warning and made the program, not the programs that draw the pictures.
if grep -n "warning:" "$LAVORO/uscita.txt" >&2; then
    echo "$COMANDO: la compilazione ha dato avvisi" >&2
    exit 1
fi
generatori="$(find build -type f -name 'zelvo_genera_*' -perm -u+x)"
if [ -n "$generatori" ]; then
    echo "$COMANDO ha compilato anche: $generatori" >&2
    exit 1
fi
