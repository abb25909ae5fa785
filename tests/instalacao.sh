#!/usr/bin/env bash
# The installed program: `cmake --install` into a scratch prefix, then the installed --version,
# an --exportar on a scratch installation (a copy of the demo drive) compared byte by byte with
# the build tree's, the installed window starting the installed helper, and the desktop entry
# and the metainfo validated.
#   instalacao.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
versao=$2
tmp=$(mktemp -d)
filho=
termina() {
  if [ -n "$filho" ]; then
    pkill -9 -P "$filho" 2>/dev/null || true
    kill -9 "$filho" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap termina EXIT
falha() {
  echo "FALHOU: $*" >&2
  exit 1
}

prefixo=$tmp/prefixo
cmake --install "$build" --prefix "$prefixo" >"$tmp/install.log" || {
  cat "$tmp/install.log"
  falha "cmake --install"
}
programa=$prefixo/bin/configurador-roteamento
ajudante=$prefixo/libexec/configurador-roteamento/consulta-modulos
for f in "$programa" "$ajudante"; do [ -x "$f" ] || falha "$f não foi instalado"; done
for f in share/applications/br.com.vardo.configurador_roteamento.desktop \
  share/metainfo/br.com.vardo.configurador_roteamento.metainfo.xml \
  share/icons/hicolor/48x48/apps/configurador-roteamento.png \
  share/icons/hicolor/256x256/apps/configurador-roteamento.png \
  share/man/man1/configurador-roteamento.1.gz \
  share/bash-completion/completions/configurador-roteamento; do
  [ -s "$prefixo/$f" ] || falha "$f não foi instalado"
done
[ ! -e "$prefixo/bin/consulta-modulos" ] || falha "o ajudante não deve ficar em bin"

saida=$("$programa" --version)
[ "$saida" = "configurador-roteamento $versao" ] || falha "--version deu '$saida'"

# The export of the installed program on a scratch installation, the same bytes as the build's.
unidade=$tmp/unidade
cp -a "$build/demo/unidade" "$unidade"
VARDO_UNIDADE=/nao/existe "$programa" --unidade "$unidade" --exportar "$tmp/instalado.txt" \
  >"$tmp/saida.txt" || falha "--exportar do programa instalado: código $?"
[ "$(cat "$tmp/saida.txt")" = "Arquivo exportado com sucesso" ] || falha "saída: $(cat "$tmp/saida.txt")"
"$build/configurador-roteamento" --unidade "$unidade" --quiet --exportar "$tmp/arvore.txt"
[ -s "$tmp/instalado.txt" ] || falha "exportação vazia"
cmp "$tmp/instalado.txt" "$tmp/arvore.txt" || falha "exportações diferentes"

# The installed window queries the modules through the installed helper, found from bin/.
QT_QPA_PLATFORM=offscreen strace -f -qq -e trace=execve -o "$tmp/execve.log" \
  "$programa" --unidade "$unidade" >/dev/null 2>&1 &
filho=$!
for _ in $(seq 600); do
  grep -q "libexec/configurador-roteamento/consulta-modulos\"" "$tmp/execve.log" 2>/dev/null && break
  sleep 0.1
done
# strace killed leaves its tracee running: kill the window first.
pkill -9 -P "$filho" 2>/dev/null || true
kill -9 "$filho" 2>/dev/null || true
wait "$filho" 2>/dev/null || true
filho=
grep -q "execve(\"$ajudante\"" "$tmp/execve.log" || {
  grep execve "$tmp/execve.log" >&2 || true
  falha "a janela instalada não executou $ajudante"
}

# The helper from libexec answers for a real module.
resposta=$(printf '%s\0' "$unidade/vardo/aplic.win/bib/seRedeAlfa.bpl" | "$ajudante" 0)
[ "$resposta" = "$(printf 'P\nR 0 11 3 0 0')" ] || falha "resposta do ajudante: $resposta"

desktop-file-validate "$prefixo/share/applications/br.com.vardo.configurador_roteamento.desktop" ||
  falha "desktop-file-validate"
appstreamcli validate --no-net --pedantic \
  "$prefixo/share/metainfo/br.com.vardo.configurador_roteamento.metainfo.xml" ||
  falha "appstreamcli validate"
echo "instalação conferida em $prefixo"
