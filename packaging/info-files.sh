#!/usr/bin/env bash
# Writes the release's info files into OUT_DIR:
#   zemra.nfo     the info file demo archives and viewers expect beside a
#                 release: plain ASCII, lines of at most 80 columns
#   file_id.diz   the archive's short description: at most 10 lines of 45
# Run from the checkout's top folder: bash packaging/info-files.sh OUT_DIR
#
# Nothing here is a second copy to keep in step by hand. The version comes
# from CMakeLists.txt, the credits and greetings from the generator and the
# effect that draw them, and the warning, the platforms, how to start each
# and the keys from the README, turned from Markdown into plain text.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: bash packaging/info-files.sh OUT_DIR" >&2; exit 2; }
out=$1

script_name=info-files
# shellcheck source=scripts/common.sh
source scripts/common.sh
version=$(zemra_version)

# Markdown's emphasis and code marks dropped, the files' VERSION filled in.
plain() { sed -e 's/\*\*//g' -e 's/`//g' -e "s/zemra\([-_]\)VERSION/zemra\1$version/g"; }

# wrap WIDTH FIRST NEXT: each input line as a paragraph of at most WIDTH
# columns, its first line led by FIRST and the others by NEXT.
wrap() {
  awk -v width="$1" -v first="$2" -v next_="$3" '{
    line = first; lead = first; n = split($0, words, / +/)
    for (i = 1; i <= n; ++i) {
      if (words[i] == "") continue
      if (line != lead && length(line) + 1 + length(words[i]) > width) { print line; line = next_; lead = next_ }
      line = (line == lead) ? line words[i] : line " " words[i]
    }
    print line
  }'
}

# The README's paragraph whose first line begins with START, on one line.
readme_paragraph() {
  awk -v start="$1" 'index($0, start) == 1 { found = 1 } found && /^$/ { exit } found { printf "%s ", $0 }
    END { if (!found) exit 1 }' README.md | sed 's/ *$//' | plain
  [ "${PIPESTATUS[0]}" = 0 ] || fail "README.md has no paragraph starting with \"$1\""
}

# The README's blockquote after the title (the flashing-lights warning).
readme_warning() {
  awk '/^> / { sub(/^> /, ""); printf "%s ", $0; found = 1; next } found { exit }' README.md | sed 's/ *$//' | plain
}

# The rows of the README's table whose header line is HEADER, as
# "CELL1|CELL2|..." lines.
readme_table() {
  awk -v header="$1" '$0 == header { found = 1; getline; next }
    found && !/^\|/ { exit }
    found { sub(/^\| */, ""); sub(/ *\| *$/, ""); gsub(/ *\| */, "|"); print }' README.md | plain
}

# The credits the show's credits scene shows (role and name, one picture
# each) and the greetings its pole scroller carries.
credits=$(sed -n 's/.*creditPicture("\([^"]*\)", "\([^"]*\)".*/\1\t\2/p' tools/assetgen/venkuefu.cpp)
greetings=$(sed -n 's/^ *"  *\(Greetings to: [^"]*[^".]\)\.*"$/\1/p' src/effects/tolppaefu.cpp)
[ -n "$credits" ] || fail "no credit pictures found in tools/assetgen/venkuefu.cpp"
[ -n "$greetings" ] || fail "no greetings found in src/effects/tolppaefu.cpp"

warning=$(readme_warning)
[ -n "$warning" ] || fail "README.md has no warning under its title"
about=$(readme_paragraph "Zemra is a ")
files=$(readme_table "| File | For | |")
[ -n "$files" ] || fail "README.md has no table of the release's files"
keys=$(readme_table "| Key | |")
[ -n "$keys" ] || fail "README.md has no table of study mode's keys"

heading() { printf '\n%s\n%s\n' "$1" "$(echo "$1" | tr '[:print:]' '-')"; }
centred() { printf '%*s\n' $(((78 + ${#1}) / 2)) "$1"; }

{
  centred "Z E M R A   $version"
  centred "a real-time demo, presented by $(echo "$credits" | awk -F'\t' '$1 == "PRESENTED BY" { print $2 }')"

  heading "BEFORE YOU WATCH"
  echo "$warning" | wrap 78 "" ""

  heading "WHAT IT IS"
  echo "$about" | wrap 78 "" ""
  echo
  echo "It re-makes a demo made for a handheld's 240 x 320 screen, with original" \
    "pictures and music: every picture, table, 3D object and the music are made" \
    "by code (the generator in the sources) while the program is built." | wrap 78 "" ""

  heading "CREDITS (as the show names them)"
  echo "$credits" | awk -F'\t' '{ printf "  %-20s %s\n", $1, $2 }'
  echo
  echo "$greetings" | wrap 78 "  " "    "

  heading "FILES"
  echo "$files" | while IFS='|' read -r file for what; do
    echo "  $file"
    [ -z "$for" ] || echo "for $for" | wrap 78 "      " "      "
    echo "$what" | wrap 78 "      " "      "
  done

  heading "HOW TO START"
  for start in "**On Debian:**" "**On Windows:**" "**In a browser:**"; do
    readme_paragraph "$start" | wrap 78 "" "  "
    [ "$start" = "**In a browser:**" ] || echo
  done

  heading "KEYS"
  echo "Any key ends the show. Study mode (zemra --study, or \"Study mode\" in the" \
    "Debian menu entry) pauses, steps and jumps through it:" | wrap 78 "" ""
  echo
  width=$(echo "$keys" | awk -F'|' '{ if (length($1) > w) w = length($1) } END { print w }')
  echo "$keys" | while IFS='|' read -r key what; do
    echo "$what" | wrap 80 "$(printf ' %-*s  ' "$width" "$key")" "$(printf '%*s' $((width + 3)) '')"
  done

  heading "LICENCE"
  cat LICENSE
} >"$out/zemra.nfo"

{
  echo "ZEMRA $version - a real-time demo"
  echo "for Linux, Windows, the web, and as video"
  echo "$credits" | awk -F'\t' '{ print $1 " " $2 }' | wrap 45 "" ""
  echo "Warning: flashing lights. zemra --gentle plays it gently. $(head -1 LICENSE)." | wrap 45 "" ""
} >"$out/file_id.diz"

# The limits the archives hold these files to.
awk 'length($0) > 80 { exit 1 }' "$out/zemra.nfo" || fail "a line of zemra.nfo is longer than 80 columns"
[ "$(wc -l <"$out/file_id.diz")" -le 10 ] || fail "file_id.diz has more than 10 lines"
awk 'length($0) > 45 { exit 1 }' "$out/file_id.diz" || fail "a line of file_id.diz is longer than 45 columns"
