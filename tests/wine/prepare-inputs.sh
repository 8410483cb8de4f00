#!/usr/bin/env bash
# Makes what the Wine tests of a real conversion need, in the folder given: paper.dvi, set by
# plain TeX with six pages counted 11 to 16, figure.dvi, whose figure file is missing,
# transparency.dvi, and bin/dvips.exe, the forwarder to TeX Live's dvips. Prints the folder's Windows path, for
# CORVANE_TEX_INPUTS. Needs WINEPREFIX.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
folder=$1
mkdir -p "$folder/bin"
cp "$root/tests/dvips/paper.tex" "$folder/paper.tex"
(cd "$folder" && tex -interaction=batchmode paper.tex >/dev/null)
[ -s "$folder/paper.dvi" ] || { echo "prepare-inputs: tex made no paper.dvi" >&2; exit 1; }
# figure.dvi: a page whose figure file is missing, for the causes that dvips's words give.
printf 'x\\special{psfile=missing.eps}\\end\n' >"$folder/figure.tex"
(cd "$folder" && tex -interaction=batchmode figure.tex >/dev/null)
# transparency.dvi: PostScript transparency as PSTricks writes it, which Ghostscript refuses.
printf 'x\\special{" 0.5 .setopacityalpha}\\end\n' >"$folder/transparency.tex"
(cd "$folder" && tex -interaction=batchmode transparency.tex >/dev/null)
install -m 755 "$root/scripts/dvips-forwarder" "$folder/bin/dvips.exe"
winepath -w "$folder" 2>/dev/null
