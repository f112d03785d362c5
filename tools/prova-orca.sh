#!/usr/bin/env bash
# What the Orca screen reader says while the main window is used through
# AT-SPI, as a blind user's screen reader would drive it: the function typed,
# "Grafico" and the root command pressed, the focus on the graph. Needs the
# Debian packages orca, python3-pyatspi, xvfb and dbus (not installed by
# setup.sh: this is a check to run by hand).
#   tools/prova-orca.sh [BUILD-DIR]        (default build/release)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PROGRAMMA="$(cd "${1:-$ROOT/build/release}" && pwd)/ui/zelvo"
[ -x "$PROGRAMMA" ] || { echo "manca $PROGRAMMA: compilare prima" >&2; exit 1; }
for p in orca xvfb-run dbus-run-session /usr/libexec/at-spi-bus-launcher; do
    command -v "$p" >/dev/null || { echo "manca $p (pacchetti orca, xvfb, dbus)" >&2; exit 1; }
done
LAVORO="$(mktemp -d)"
trap 'rm -rf "$LAVORO"' EXIT

cat > "$LAVORO/guida.py" <<'PY'
import pyatspi, sys, time
def cerca(acc, pred, out=None):
    out = [] if out is None else out
    if pred(acc): out.append(acc)
    for i in range(acc.childCount):
        c = acc.getChildAtIndex(i)
        if c: cerca(c, pred, out)
    return out
app = None
for _ in range(40):
    app = next((a for a in pyatspi.Registry.getDesktop(0) if a and 'zelvo' in (a.name or '')), None)
    if app: break
    time.sleep(0.5)
if not app: sys.exit('zelvo non è sul bus AT-SPI')
cerca(app, lambda a: a.getRoleName() == 'push button')[0].queryAction().doAction(0)
time.sleep(3)
f = next(app.getChildAtIndex(i) for i in range(app.childCount)
         if (app.getChildAtIndex(i).name or '').startswith('Form2'))
y = cerca(f, lambda a: a.name == 'Y =' and a.getRoleName() == 'text')[0]
y.queryComponent().grabFocus(); time.sleep(2)
y.queryEditableText().setTextContents('Sqr(x)'); time.sleep(1)
p = {a.name: a for a in cerca(f, lambda a: a.getRoleName() == 'push button')}
for nome in ('Grafico', 'Calcolo radici reali f(x) = 0'):
    p[nome].queryComponent().grabFocus(); time.sleep(1.5)
    p[nome].queryAction().doAction(0); time.sleep(3)
cerca(f, lambda a: a.name == 'Grafico' and a.getRoleName() == 'image')[0].queryComponent().grabFocus()
time.sleep(3)
PY

cat > "$LAVORO/dentro.sh" <<SH
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
/usr/libexec/at-spi-bus-launcher --launch-immediately &
sleep 2
orca -u "$LAVORO/preferenze" --debug-file "$LAVORO/orca.out" > /dev/null 2>&1 &
o=\$!
sleep 8
"$PROGRAMMA" > /dev/null 2>&1 &
z=\$!
sleep 4
timeout 90 /usr/bin/python3 "$LAVORO/guida.py"
sleep 2
kill \$z \$o
SH
dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" bash "$LAVORO/dentro.sh" > /dev/null 2>&1 || true
grep "SPEECH OUTPUT:" "$LAVORO/orca.out" | sed "s/.*SPEECH OUTPUT: '\(.*\)'{.*/\1/"
