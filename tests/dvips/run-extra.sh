#!/usr/bin/env bash
# The real dvips accepts every switch that the composer writes: each is run on a small DVI
# file made by plain TeX, and must end without an error or a usage message.
set -uo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$(dirname "$0")/paper.tex" "$work/paper.tex"
(cd "$work" && tex -interaction=batchmode paper.tex >/dev/null) || { echo "tex failed"; exit 1; }

passed=0
failed=0
while IFS= read -r switches; do
  rm -f "$work/out.ps" "$work/OUTPUT"
  output=(-o out.ps)
  case "$switches" in *OUTPUT*) output=() ;; esac
  # The switches are a command-line text; the shell splits it as the converter's runtime would.
  if (cd "$work" && eval "dvips $switches ${output[*]} paper.dvi" >"$work/log" 2>&1) &&
     ! grep -q '!' "$work/log" && { [ -s "$work/out.ps" ] || [ -s "$work/OUTPUT" ]; }; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "dvips refused: $switches"
    sed 's/^/    /' "$work/log"
  fi
done < <("$build/native/each_switch")
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
