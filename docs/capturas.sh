#!/usr/bin/env bash
# The screenshots of the operator's guide, made anew from the real program: an Xvfb screen, the
# openbox window manager for the title bars, xdotool for the operator's keys and clicks and
# ImageMagick's import for the pictures.
#
#   docs/capturas.sh [-b BUILD_DIR] [CENA...]     (make capturas)
#
# Each scene is one file of docs/cenas/, run in file-name order (all of them, or only those
# named, without .sh), each on a fresh copy of the build's demo drive. A scene is plain bash
# with the helpers below; to add a screenshot, add a file there, e.g. docs/cenas/60-algo.sh:
#
#   abre_programa QT_SCALE_FACTOR=1.5    # environment of this run; the window is $JANELA
#   escolhe_empresa TODAS
#   abre_pagina Crédito
#   captura janela-escala-1.5            # docs/imagens/janela-escala-1.5.png
#
# The pictures go to docs/imagens/ (CAPTURAS_DIR changes that); TELA sets the screen size.
set -euo pipefail

raiz=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$raiz/build/run
if [ "${1:-}" = "-b" ]; then
  build=$(cd "$2" && pwd)
  shift 2
fi
saida=${CAPTURAS_DIR:-$raiz/docs/imagens}
tela=${TELA:-1600x1000x24}
programa=$build/configurador-roteamento
demo=$build/demo/unidade
for p in Xvfb openbox xdotool import xwininfo; do
  command -v "$p" >/dev/null || {
    echo "falta $p: bash scripts/instala-dependencias.sh docs" >&2
    exit 1
  }
done
[ -x "$programa" ] && [ -d "$demo" ] || {
  echo "falta o programa ou a unidade de demonstração em $build (make build-run)" >&2
  exit 1
}
mkdir -p "$saida"
tmp=$(mktemp -d)
pids=()
termina() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap termina EXIT

# The X server on a free display, and the window manager on it.
exec 3<> "$tmp/display"
Xvfb -displayfd 3 -screen 0 "$tela" -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$tmp/display")
openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
xsetroot -solid '#3a6ea5' 2>/dev/null || true

# --- Helpers for the scenes -------------------------------------------------------------------

ESCALA=1
JANELA=
# The program's working directory, where its file dialogs open: the scene's own files go here.
ARQUIVOS=$tmp/arquivos
programa_pid=

# Starts the program on a fresh copy of the demo drive, in an empty ARQUIVOS, with the given
# VAR=value settings in its environment (QT_SCALE_FACTOR sets ESCALA for `clica`), and waits
# for its main window.
abre_programa() {
  fecha_programa
  rm -rf "$tmp/unidade"
  cp -a "$demo" "$tmp/unidade"
  ESCALA=1
  for v in "$@"; do
    case $v in QT_SCALE_FACTOR=*) ESCALA=${v#*=} ;; esac
  done
  rm -rf "$ARQUIVOS"
  mkdir -p "$ARQUIVOS"
  (cd "$ARQUIVOS" && exec env HOME="$tmp/operador" XDG_CONFIG_HOME="$tmp/operador/.config" \
    "$@" "$programa" --unidade "$tmp/unidade" >"$tmp/programa.log" 2>&1) &
  programa_pid=$!
  JANELA=$(espera_janela)
  espera
}

fecha_programa() {
  if [ -n "$programa_pid" ]; then
    kill "$programa_pid" 2>/dev/null || true
    wait "$programa_pid" 2>/dev/null || true
  fi
  programa_pid=
  JANELA=
}

# Lets the program paint what the last key or click brought up.
espera() { sleep "${1:-0.6}"; }

# The id of a visible window of the program other than the ones given: the main window, then a
# message box or a dialog just opened; it gets the keyboard focus.
espera_janela() {
  local id
  for _ in $(seq 300); do
    for id in $(xdotool search --onlyvisible --pid "$programa_pid" 2>/dev/null || true); do
      case " $* " in *" $id "*) continue ;; esac
      # Not a menu or a list that pops up.
      xwininfo -id "$id" | grep -q 'Override Redirect State: no' || continue
      xdotool windowactivate --sync "$id" 2>/dev/null || true
      echo "$id"
      return
    done
    sleep 0.1
  done
  echo "nenhuma janela nova do programa apareceu" >&2
  return 1
}

# Keys and text as the operator types them, to the window that has the focus.
tecla() { xdotool key --clearmodifiers --delay 120 "$@"; espera; }
digita() { xdotool type --delay 60 -- "$1"; espera; }

# A click at X,Y of the window's contents (default $JANELA), in the program's own pixels: the
# layout's coordinates, multiplied by ESCALA.
clica() {
  local x y
  x=$(awk -v v="$1" -v e="$ESCALA" 'BEGIN { printf "%d", v * e }')
  y=$(awk -v v="$2" -v e="$ESCALA" 'BEGIN { printf "%d", v * e }')
  xdotool mousemove --window "${3:-$JANELA}" "$x" "$y" click "${4:-1}"
  espera
}
duplo_clique() { clica "$1" "$2" "${3:-$JANELA}" "--repeat 2 1"; }

# The company picked from the company selector's list (TODAS, its last entry, or the Nth
# company counted from 1).
escolhe_empresa() {
  clica 110 134
  if [ "$1" = TODAS ]; then
    tecla End Return
  else
    tecla Home
    for _ in $(seq 2 "$1"); do tecla Down; done
    tecla Return
  fi
}

# A card-type page opened from the option tree: Crédito, Débito or Combustível.
abre_pagina() {
  local linha
  case $1 in Crédito) linha=0 ;; Débito) linha=1 ;; Combustível) linha=2 ;; *) return 1 ;; esac
  clica 30 $((164 + 13 * linha))
}

# The command panels of the page shown: Incluir, Alterar, Excluir, Retornar.
botao() {
  case $1 in
  Incluir) clica 156 211 ;;
  Alterar) clica 231 211 ;;
  Excluir) clica 306 211 ;;
  Retornar) clica 452 640 ;;
  *) return 1 ;;
  esac
}

# The Nth card row of the grid of the page shown, from 1.
linha_grade() { clica 200 $((258 + 20 * ($1 - 1))); }

# A menu command: the menu opened with a click on its title, the command by its letter.
menu() {
  case $1 in Arquivo) clica 30 8 ;; Editar) clica 76 8 ;; Sair) clica 115 8 ;; *) return 1 ;; esac
  [ $# -lt 2 ] || tecla "$(tr '[:upper:]' '[:lower:]' <<<"${2:0:1}")"
}

# The topmost window that holds the given one: the window manager's frame with the title bar.
moldura() {
  local id=$1 pai
  while :; do
    pai=$(xwininfo -tree -id "$id" | grep 'Parent window id:')
    case $pai in *'(the root window)'* | *' 0x0'*) break ;; esac
    id=$(awk '{ print $4 }' <<<"$pai")
  done
  echo "$id"
}

# docs/imagens/NOME.png: the given window (default the main window) with its frame, as
# it stands on the screen, so a box over it shows too.
captura() {
  local id=${2:-$JANELA} g
  espera 0.4
  g=$(xwininfo -id "$(moldura "$id")" |
    awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
         /Width:/ { w = $2 } /Height:/ { h = $2 } END { printf "%dx%d+%d+%d", w, h, x, y }')
  import -window root -crop "$g" +repage "$saida/$1.png"
  echo "  $saida/$1.png"
}

# docs/imagens/NOME.png: the whole screen.
captura_tela() {
  espera 0.4
  import -window root "$saida/$1.png"
  echo "  $saida/$1.png"
}

# --- The scenes -------------------------------------------------------------------------------

cenas=()
if [ $# -gt 0 ]; then
  for c in "$@"; do cenas+=("$raiz/docs/cenas/${c%.sh}.sh"); done
else
  cenas=("$raiz"/docs/cenas/*.sh)
fi
for c in "${cenas[@]}"; do
  [ -f "$c" ] || {
    echo "cena não encontrada: $c" >&2
    exit 1
  }
  echo "$(basename "$c" .sh)"
  (
    set -euo pipefail
    # shellcheck source=/dev/null
    trap fecha_programa EXIT
    source "$c"
  ) || {
    echo "a cena $(basename "$c") falhou; saída do programa:" >&2
    cat "$tmp/programa.log" >&2
    exit 1
  }
done
