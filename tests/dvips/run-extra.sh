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
# Files that dvips makes whole, judged whole: a figure whose own comments announce seven pages,
# and a page as Encapsulated PostScript (-E) whose figure announces one page and marks none.
for pages in 7 1; do
  { echo '%!PS-Adobe-3.0 EPSF-3.0'; echo '%%BoundingBox: 0 0 72 72'; echo "%%Pages: $pages"
    echo '%%EndComments'; [ "$pages" = 1 ] || echo '%%Page: 1 1'
    echo '0 0 moveto 72 72 lineto stroke'; echo '%%EOF'; } >"$work/pages$pages.eps"
done
printf 'A\\special{psfile=pages1.eps}\\vfill\\eject B\\special{psfile=pages7.eps}\\end\n' >"$work/figures.tex"
printf '\\nopagenumbers\\hbox{\\vbox to 72bp{\\vfil\\special{psfile=pages1.eps}}\\hskip72bp}\\end\n' \
  >"$work/page.tex"
judged=$(cd "$work" && tex -interaction=batchmode figures.tex >/dev/null &&
  tex -interaction=batchmode page.tex >/dev/null && dvips -q -o figures.ps figures.dvi &&
  dvips -q -E -o page.eps page.dvi && dvips -q -F -o sent.ps figures.dvi &&
  "$build/native/whole_postscript" figures.ps page.eps sent.ps | paste -sd,)
if [ "$judged" = "whole,whole,whole" ]; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  echo "PostScript that dvips made whole was judged: ${judged:-nothing}"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
