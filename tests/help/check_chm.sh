#!/usr/bin/env bash
# Checks a compiled corvane.chm with chmls: a page for each tab and for the confirmation dialog,
# a pop-up text and a page for every control, and a context map that leads every topic number
# the program asks for (10240-10244, 20480 and the control ids) to a page inside the file.
# Usage: tests/help/check_chm.sh path/to/corvane.chm
set -euo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 corvane.chm" >&2
  exit 2
fi
command -v chmls >/dev/null || { echo "chmls not found (package fp-utils)" >&2; exit 2; }

chm=$(realpath "$1")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
resource_h="$here/../../resources/resource.h"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $what" >&2
  fi
}

declare -A page_topics=([10240]=files.htm [10241]=range.htm [10242]=style.htm
                        [10243]=dvips.htm [10244]=pdf.htm [20480]=confirm.htm)
controls=(1000 1001 1010 1011 1012 1020
          2000 2001 2002 2003 2010 2011 2012 2020 2021 2022 2023 2030
          3000 3010 3011 3020 3030 3040 3050 3060 3061 3062
          4000 4001 4010 4020 4030 4031 4032 4033 4034 4040 4050 4060 4070
          5000 5001 5002 5010 5011 5020 5030 5040
          9001 1 2 9)

# What the file holds.
chmls -p -n list "$chm" 2>/dev/null | sed -n 's|^ *\(/.*[^ ]\) *$|\1|p' >"$work/names"
in_file() { grep -qxF "/$1" "$work/names"; }
# extract NAME: the content of /NAME, or nothing when chmls cannot give it.
extract() { rm -f "$work/out"; chmls extract "$chm" "/$1" "$work/out" >/dev/null 2>&1 || true
            [ -f "$work/out" ] && cat "$work/out"; }
page_has() { extract "$1" | grep -qiF -- "$2"; }
not_in_strings() { test -s "$work/strings" && ! grep -qF -- "$1" "$work/strings"; }

check "the file is a compiled help file" test "$(head -c 4 "$chm")" = ITSF
# Two builds in two folders give the same file: it names no folder of the build, and the time
# of day at which it was written (header bytes 16 to 19) is zero.
extract '#STRINGS' | tr '\0' '\n' >"$work/strings"
check "#STRINGS names no folder of the build" not_in_strings "$(dirname "$chm")"
check "the header holds no time of writing" test "$(od -An -tx1 -j16 -N4 "$chm" | tr -d ' ')" = 00000000
for file in index.htm corvane.hhc corvane.hhk corvane.css cshelp.txt; do
  check "/$file is in the file" in_file "$file"
done
for topic in "${!page_topics[@]}"; do
  check "page ${page_topics[$topic]} of topic $topic is in the file" in_file "${page_topics[$topic]}"
  check "page ${page_topics[$topic]} has a title" page_has "${page_topics[$topic]}" "<title>"
done

# A text for every control: a .topic entry in the pop-up file, a page of its own, and a
# section in the page of its tab or dialog.
extract cshelp.txt >"$work/cshelp.txt"
control_page() {
  case $1 in
    10??) echo files.htm ;; 20??) echo range.htm ;; 30??) echo style.htm ;;
    40??) echo dvips.htm ;; 50??) echo pdf.htm ;; *) echo confirm.htm ;;
  esac
}
has_popup() { awk -v id="$1" '$1 == ".topic" && $2 == id { found = 1; next }
                               found && NF { text = 1; exit } END { exit !text }' "$work/cshelp.txt"; }
for id in "${controls[@]}"; do
  check "pop-up text for control $id in cshelp.txt" has_popup "$id"
  check "page c$id.htm for control $id is in the file" page_has "c$id.htm" "<title>"
  check "section c$id in $(control_page "$id")" page_has "$(control_page "$id")" "id=\"c$id\""
done

# The switches each page explains.
for pair in "files.htm:-o " "files.htm:-E" "range.htm:-pp" "range.htm:-p =n" "range.htm:-l =n" \
            "range.htm:-A" "range.htm:-B" "range.htm:-C n" "range.htm:-c n" "range.htm:-b n" \
            "range.htm:-r" "style.htm:-t type" "style.htm:-x n" "style.htm:-y n" \
            "style.htm:-t landscape" "style.htm:-m" "style.htm:-O x,y" "style.htm:-T" \
            "style.htm:-D n" "style.htm:-X n" "style.htm:-Y n" "dvips.htm:-P name" "dvips.htm:-q" \
            "dvips.htm:-M" "dvips.htm:verbatim" "dvips.htm:Capture" "dvips.htm:Hidden" \
            "dvips.htm:HKEY_CURRENT_USER\\Software\\Tolmarek\\Corvane\\Version 1.00" \
            "files.htm:folder of the DVI file" "pdf.htm:-sDEVICE=pdfwrite" \
            "pdf.htm:rungs.exe" "pdf.htm:texlive" "pdf.htm:value <code>PDF</code>"; do
  check "${pair%%:*} explains '${pair#*:}'" page_has "${pair%%:*}" "${pair#*:}"
done

# The context map (#IVB, read back by chmls extractalias as NAME=topic lines in a .ali file
# beside the .chm): every number leads to its page, named as inside the file.
cp "$chm" "$work/map.chm"
(cd "$work" && chmls extractalias map.chm >/dev/null 2>&1) || true
touch "$work/map.ali"
maps_to() {  # maps_to NUMBER FILE
  grep -qxF "helpid$1=$2" "$work/map.ali" && in_file "$2"
}
check "the context map can be read" test -s "$work/map.ali"
for topic in "${!page_topics[@]}"; do
  check "context $topic leads to ${page_topics[$topic]}" maps_to "$topic" "${page_topics[$topic]}"
done
for id in "${controls[@]}"; do
  check "context $id leads to c$id.htm" maps_to "$id" "c$id.htm"
done
# Every id the program hands to the help system has a topic.
if [ -f "$resource_h" ]; then
  while read -r name value; do
    check "$name ($value) from resource.h has a topic" grep -q "^helpid$value=" "$work/map.ali"
  done < <(awk '$1 == "#define" && $2 ~ /^(IDC_|HELP_TOPIC_)/ { print $2, $3 }' "$resource_h")
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
