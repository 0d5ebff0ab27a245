#!/usr/bin/env bash
# Regenerates the legacy-encoding samples in samples/ from the UTF-8 texts
# written by hand (samples/*.utf-8.*), with the system iconv. The charset that
# an HTML page declares is rewritten to match its encoding. Each output is
# converted back and compared with its source, so a character that the
# target cannot hold stops the script instead of slipping through.
#
# The expected answers of the tool for every sample are kept by hand in
# samples/MANIFEST.tsv.
set -euo pipefail
cd "$(dirname "$0")/../samples"

# source file, iconv charset, label for the declaration and the file name
targets=(
  "ja-page.utf-8.html    SHIFT_JIS    shift_jis"
  "ja-page.utf-8.html    EUC-JP       euc-jp"
  "ja-page.utf-8.html    ISO-2022-JP  iso-2022-jp"
  "ja-form.utf-8.txt     SHIFT_JIS    shift_jis"
  "ja-form.utf-8.txt     EUC-JP       euc-jp"
  "ja-form.utf-8.txt     ISO-2022-JP  iso-2022-jp"
  "ko-page.utf-8.html    EUC-KR       euc-kr"
  "ko-form.utf-8.txt     EUC-KR       euc-kr"
  "western-page.utf-8.html ISO-8859-1 iso-8859-1"
)

for target in "${targets[@]}"; do
  read -r source charset label <<<"$target"
  output="${source/.utf-8./.$label.}"
  sed "s/charset=\"utf-8\"/charset=\"$label\"/" "$source" | iconv -f UTF-8 -t "$charset" >"$output.tmp"
  if ! iconv -f "$charset" -t UTF-8 "$output.tmp" |
       sed "s/charset=\"$label\"/charset=\"utf-8\"/" | cmp -s - "$source"; then
    echo "make-samples: $output does not convert back to $source" >&2
    rm -f "$output.tmp"
    exit 1
  fi
  mv "$output.tmp" "$output"
  echo "wrote samples/$output"
done
