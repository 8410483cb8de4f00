#!/usr/bin/env bash
# Makes what the Wine tests of a real conversion need, in the folder given: paper.dvi, set by
# plain TeX with six pages counted 11 to 16; figure.dvi, whose figure file is missing; the
# documents of the PDF page's purposes (tests/wine/pdf-inputs: standard-font.dvi, photo.dvi with
# photo.eps, transparency.dvi, archive.dvi with photo.eps, not-archivable.dvi); missingfont.dvi, whose font dvips cannot find; and bin/dvips.exe, the forwarder to TeX Live's dvips. Prints the
# folder's Windows path, for
# CORVANE_TEX_INPUTS. Needs WINEPREFIX.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
folder=$1
mkdir -p "$folder/bin"
cp "$root/tests/dvips/paper.tex" "$folder/paper.tex"
(cd "$folder" && tex -interaction=batchmode paper.tex >/dev/null)
[ -s "$folder/paper.dvi" ] || { echo "prepare-inputs: tex made no paper.dvi" >&2; exit 1; }
for document in standard-font photo transparency archive not-archivable; do
  cp "$root/tests/wine/pdf-inputs/$document.tex" "$folder/"
  (cd "$folder" && tex -interaction=batchmode "$document.tex" >/dev/null)
  [ -s "$folder/$document.dvi" ] || { echo "prepare-inputs: tex made no $document.dvi" >&2; exit 1; }
done
python3 "$root/tests/wine/pdf-inputs/make_photo.py" "$folder/photo.eps"
# figure.dvi: a page whose figure file is missing, for the causes that dvips's words give.
printf 'x\\special{psfile=missing.eps}\\end\n' >"$folder/figure.tex"
(cd "$folder" && tex -interaction=batchmode figure.tex >/dev/null)
# missingfont.dvi: a font whose metrics TeX finds (cmr10's, under another name, beside the
# document only) but of which dvips finds neither bitmap nor outline.
cp "$(kpsewhich cmr10.tfm)" "$folder/missingfont.tfm"
printf '\\font\\f=missingfont \\f Missing\\end\n' >"$folder/missingfont.tex"
(cd "$folder" && tex -interaction=batchmode missingfont.tex >/dev/null)
rm "$folder/missingfont.tfm"
install -m 755 "$root/scripts/dvips-forwarder" "$folder/bin/dvips.exe"
winepath -w "$folder" 2>/dev/null
