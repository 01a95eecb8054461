#!/usr/bin/env bash
# Renders every picture of the client from its source and writes the resource collections.
#
#   tools/render-assets.sh [FLAG_ICONS_DIR]
#
# Inputs:  resources/svg/*.svg (drawn here), the flag-icons npm package (its flags/1x1
#          folder; fetched with `npm pack flag-icons` when no folder is given), Debian's
#          fonts-open-sans and iso-codes.
# Outputs: resources/images/**, resources/fonts/**, resources/flags/LICENSE-flag-icons.txt
#          and resources/{images,flags,fonts}.qrc.
# Needs:   rsvg-convert (librsvg2-bin), ImageMagick, python3, iso-codes, npm (only without
#          FLAG_ICONS_DIR).
#
# The rendered files are committed, so building the client never needs this script.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
res=$root/resources
src=$res/svg
CONVERT=${CONVERT:-convert}
FLAG_SIZE=48

for tool in rsvg-convert "$CONVERT"; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Palette shared with the style sheets.
GREY=#7a7a7a        # idle icon
ACCENT=#fb7c2f      # hover, focus, selection
PRESSED=#e93023     # pressed
FIELD=#b4b4b4       # idle icon inside an input field
BORDER=#c4c4c4      # idle box and ring of check boxes and radio buttons
DISABLED=#d2d2d2    # disabled
CHECKED_HOVER=#f0661d

# recolour SRC COLOUR -> path of a copy whose root color attribute (used through
# currentColor) is COLOUR; the source itself when no colour is given.
recolour()
{
    local svg=$1 colour=${2:-}
    if [ -z "$colour" ]; then
        echo "$svg"
        return
    fi
    local out
    out=$work/$(basename "$svg" .svg)-${colour#\#}.svg
    sed -E "s/(<svg[^>]*) color=\"#[0-9a-fA-F]{6}\"/\\1 color=\"$colour\"/" "$svg" >"$out"
    echo "$out"
}

# png OUT W H SOURCE [COLOUR]: OUT at W x H and OUT@2x at twice that, for high-DPI screens.
png()
{
    local out=$1 w=$2 h=$3 svg
    svg=$(recolour "$src/$4.svg" "${5:-}")
    mkdir -p "$(dirname "$out")"
    rsvg-convert -w "$w" -h "$h" "$svg" -o "$work/1x.png"
    rsvg-convert -w $((w * 2)) -h $((h * 2)) "$svg" -o "$work/2x.png"
    "$CONVERT" "$work/1x.png" -strip "PNG32:$out"
    "$CONVERT" "$work/2x.png" -strip "PNG32:${out%.png}@2x.png"
}

# ico OUT SOURCE SIZE...: one icon file holding every size. Below 32 px a SOURCE_small
# drawing is used where there is one: fine detail turns to mush at tray size.
ico()
{
    local out=$1 name=$2 svg size frames=()
    shift 2
    mkdir -p "$(dirname "$out")"
    for size in "$@"; do
        svg=$src/$name.svg
        if [ "$size" -lt 32 ] && [ -f "$src/${name}_small.svg" ]; then
            svg=$src/${name}_small.svg
        fi
        rsvg-convert -w "$size" -h "$size" "$svg" -o "$work/ico-$size.png"
        frames+=("$work/ico-$size.png")
    done
    "$CONVERT" "${frames[@]}" "$out"
}

img=$res/images/interface
rm -rf "$res/images"

# --- main window -----------------------------------------------------------------------
png "$img/logo.png" 96 96 logo
png "$img/logo_white.png" 96 96 logo_white
png "$img/logo_text.png" 168 28 logo_text
png "$img/user.png" 20 20 user "$ACCENT"
for icon in settings logout back info; do
    png "$img/$icon.png" 20 20 "$icon" "$GREY"
    png "$img/${icon}_hover.png" 20 20 "$icon" "$ACCENT"
    png "$img/${icon}_pressed.png" 20 20 "$icon" "$PRESSED"
    png "$img/${icon}_disabled.png" 20 20 "$icon" "$DISABLED"
done
for field in login password; do
    png "$img/field_$field.png" 16 16 "field_$field" "$FIELD"
    png "$img/field_${field}_focus.png" 16 16 "field_$field" "$ACCENT"
done
png "$img/combo_arrow.png" 12 12 combo_arrow "$GREY"
png "$img/combo_arrow_hover.png" 12 12 combo_arrow "$ACCENT"
png "$img/combo_arrow_disabled.png" 12 12 combo_arrow "$DISABLED"
png "$img/combo_arrow_open.png" 12 12 combo_arrow_open "$ACCENT"
for kind in checkbox radio; do
    png "$img/${kind}_unchecked.png" 16 16 "${kind}_unchecked" "$BORDER"
    png "$img/${kind}_unchecked_hover.png" 16 16 "${kind}_unchecked" "$ACCENT"
    png "$img/${kind}_unchecked_disabled.png" 16 16 "${kind}_unchecked" "$DISABLED"
    png "$img/${kind}_checked.png" 16 16 "${kind}_checked" "$ACCENT"
    png "$img/${kind}_checked_hover.png" 16 16 "${kind}_checked" "$CHECKED_HOVER"
    png "$img/${kind}_checked_disabled.png" 16 16 "${kind}_checked" "$DISABLED"
done
png "$img/status_connected.png" 48 48 status_connected
png "$img/status_disconnected.png" 48 48 status_disconnected

# --- subscription kinds: panel logo and combo icons -------------------------------------
for kind in premium double onion default; do
    png "$img/sub_$kind.png" 40 40 "sub_$kind" "$ACCENT"
done
for kind in premium double onion; do
    png "$img/sub_${kind}_mini.png" 16 16 "sub_${kind}_mini" "$ACCENT"
    png "$img/sub_${kind}_mini_disabled.png" 16 16 "sub_${kind}_mini" "$DISABLED"
done

# --- favourite stars (file names as the style sheets know them) -------------------------
png "$img/favorive_server_checked.png" 28 28 favorite_checked
png "$img/favorive_server_unchecked.png" 28 28 favorite_unchecked
png "$img/favorive_server_checked_mini.png" 16 16 favorite_checked
png "$img/favorive_server_unchecked_mini.png" 16 16 favorite_unchecked

# --- statistics window ------------------------------------------------------------------
png "$img/stat_logo.png" 120 24 stat_logo
png "$img/stat_close_button.png" 12 12 stat_close "#a0a0a0"
png "$img/stat_close_button_hover.png" 12 12 stat_close "$ACCENT"
png "$img/stat_close_button_pressed.png" 12 12 stat_close "$PRESSED"

# --- application and tray icons ---------------------------------------------------------
ico "$res/images/icons/ksvpn.ico" logo 16 24 32 48 64 128 256
for state in unconnected connecting connected; do
    ico "$res/images/icons/tray/tray_state_$state.ico" "tray_$state" 16 20 24 32 40 48 64
done

# --- flags ------------------------------------------------------------------------------
flagpkg=${1:-}
if [ -z "$flagpkg" ]; then
    (cd "$work" && npm pack --silent flag-icons >/dev/null && tar xzf flag-icons-*.tgz)
    flagpkg=$work/package
fi
iso=/usr/share/iso-codes/json/iso_3166-1.json
[ -f "$iso" ] || { echo "missing $iso (Debian package iso-codes)" >&2; exit 1; }
flags=$res/images/flags
rm -rf "$flags"
mkdir -p "$flags" "$res/flags"
# Every ISO 3166-1 alpha-2 country, plus the European Union and the United Nations.
codes=$(python3 -c "import json,sys; print(' '.join(sorted(c['alpha_2'].lower() for c in json.load(open(sys.argv[1]))['3166-1'])))" "$iso")
codes="$codes eu un"
for code in $codes; do
    rsvg-convert -w $FLAG_SIZE -h $FLAG_SIZE "$flagpkg/flags/1x1/$code.svg" -o "$work/flag.png"
    "$CONVERT" "$work/flag.png" -strip "$flags/$code.png"
done
cp "$flagpkg/LICENSE" "$res/flags/LICENSE-flag-icons.txt"

# --- font -------------------------------------------------------------------------------
mkdir -p "$res/fonts"
cp /usr/share/fonts/truetype/open-sans/OpenSans-Regular.ttf "$res/fonts/font.ttf"
cp /usr/share/doc/fonts-open-sans/copyright "$res/fonts/COPYRIGHT-open-sans.txt"
cp /usr/share/common-licenses/Apache-2.0 "$res/fonts/LICENSE-Apache-2.0.txt"

# --- resource collections ---------------------------------------------------------------
# entries PREFIX-RELATIVE-DIR FILE...: <file> lines whose alias drops the physical folder
# where the prefix already says it.
qrc_open() { printf '<RCC>\n' >"$1"; }
qrc_close() { printf '</RCC>\n' >>"$1"; }
qrc_section()
{
    local qrc=$1 prefix=$2 strip=$3 f rel
    shift 3
    printf '    <qresource prefix="%s">\n' "$prefix" >>"$qrc"
    for f in "$@"; do
        rel=${f#"$res"/}
        printf '        <file alias="%s">%s</file>\n' "${rel#"$strip"}" "$rel" >>"$qrc"
    done
    printf '    </qresource>\n' >>"$qrc"
}

shopt -s nullglob
cd "$res"
sub=(images/interface/sub_*.png)
fav=(images/interface/favorive_*.png)
stat=(images/interface/stat_*.png)
general=()
for f in images/interface/*.png; do
    case $(basename "$f") in
    sub_* | favorive_* | stat_*) ;;
    *) general+=("$f") ;;
    esac
done

qrc=$res/images.qrc
qrc_open "$qrc"
qrc_section "$qrc" /images images/ images/icons/ksvpn.ico "${general[@]}"
qrc_section "$qrc" /sub "" "${sub[@]}"
qrc_section "$qrc" /favorite "" "${fav[@]}"
qrc_section "$qrc" /statwindow "" "${stat[@]}"
qrc_section "$qrc" /tray "" images/icons/tray/*.ico
qrc_close "$qrc"

qrc=$res/flags.qrc
qrc_open "$qrc"
qrc_section "$qrc" /flag "" images/flags/*.png
qrc_close "$qrc"

qrc=$res/fonts.qrc
qrc_open "$qrc"
qrc_section "$qrc" /font "" fonts/font.ttf
qrc_close "$qrc"

echo "rendered $(find images -name '*.png' -o -name '*.ico' | wc -l) pictures"
