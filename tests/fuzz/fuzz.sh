#!/usr/bin/env bash
# Long fuzzing runs (`make fuzz`): each target for FUZZ_TEMPO seconds or FUZZ_EXECUCOES runs,
# whichever comes first, FUZZ_PARALELO at a time. New inputs go to a working corpus under the
# build directory, seeded from tests/fuzz/corpus/<target>/ (which stays as it is); crashes, hangs
# and sanitizer reports to <build>/achados/<target>/. Each log ends with libFuzzer's
# "Done N runs in S second(s)".
#
#   tests/fuzz/fuzz.sh BUILD_DIR [target...]
set -euo pipefail
build=${1:?build dir}
shift || true
fontes=$(cd "$(dirname "$0")" && pwd)
tempo=${FUZZ_TEMPO:-600}
execucoes=${FUZZ_EXECUCOES:-2000000}
paralelo=${FUZZ_PARALELO:-2}
alvos=("$@")
if [ ${#alvos[@]} -eq 0 ]; then
  for f in "$fontes"/fuzz_*.cpp; do n=$(basename "$f" .cpp); alvos+=("${n#fuzz_}"); done
fi

roda() {
  local alvo=$1
  # Only this run's findings count; one worth keeping goes into the corpus as a regression.
  rm -rf "$build/achados/$alvo"
  mkdir -p "$build/corpus/$alvo" "$build/achados/$alvo"
  "$build/fuzz_$alvo" "$build/corpus/$alvo" "$fontes/corpus/$alvo" \
    -max_total_time="$tempo" -runs="$execucoes" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/achados/$alvo/" -print_final_stats=1 \
    >"$build/fuzz_$alvo.log" 2>&1 || true
  local fim
  fim=$(grep -E '^Done [0-9]+ runs' "$build/fuzz_$alvo.log" | tail -1 || true)
  local achados
  achados=$(find "$build/achados/$alvo" -type f | wc -l)
  echo "$alvo: ${fim:-sem fim normal (ver $build/fuzz_$alvo.log)}; achados: $achados"
}
export -f roda
export build fontes tempo execucoes
printf '%s\n' "${alvos[@]}" | xargs -P "$paralelo" -I{} bash -c 'roda {}'
! find "$build/achados" -type f | grep -q .
