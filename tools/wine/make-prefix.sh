#!/usr/bin/env bash
# Creates the private Wine prefix of one build tree, once.
#   make-prefix.sh <prefix> <repository root>
# Drive C: is the prefix's own drive_c and R: the repository; the usual Z: (the
# whole Linux file system) is removed. R: is declared a network drive, which
# has no free space for the installer, so "the best volume" is always C: and
# nothing the installer creates there lands outside the build tree.
set -euo pipefail
prefix=$1
repo=$2
stamp="$prefix/.tarvel-prefix-2"
[ -f "$stamp" ] && exit 0

export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No Mono and no Gecko: Wine must never try to download its add-ons.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
rm -rf "$prefix"
mkdir -p "$prefix"
echo "wine: creating prefix $prefix"
wineboot --init >/dev/null 2>&1 </dev/null
wineserver -w

rm -f "$prefix/dosdevices/z:"
ln -sfn "$repo" "$prefix/dosdevices/r:"

# Pages ask for "Microsoft Yahei"; the CJK font installed here stands in for it.
cat >"$prefix/drive_c/fonts.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Microsoft Yahei"="WenQuanYi Micro Hei"
"Microsoft YaHei"="WenQuanYi Micro Hei"

[HKEY_LOCAL_MACHINE\Software\Wine\Drives]
"r:"="network"
REG
wine regedit /S 'C:\fonts.reg' >/dev/null 2>&1 </dev/null
rm -f "$prefix/drive_c/fonts.reg"
wineserver -k || true
touch "$stamp"
