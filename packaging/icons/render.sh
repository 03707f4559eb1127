#!/bin/sh
# Renders the PNG and ICO icons from pipwright.svg; run it after editing the SVG and
# commit the results. The SVG is drawn on a 64-unit grid, so a density of 24 dpi gives
# 16 px exactly (96 dpi is one unit per pixel); rendering straight at size keeps the
# pips crisp where downscaling a large render would blur them.
set -eu
cd "$(dirname "$0")"
render() { # size
    convert -background none -density $(($1 * 96 / 64)) pipwright.svg -depth 8 -strip "$2"
}
render 16 pipwright-16.png
render 32 pipwright-32.png
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
render 48 "$tmp/48.png"
render 256 "$tmp/256.png"
convert pipwright-16.png pipwright-32.png "$tmp/48.png" "$tmp/256.png" pipwright.ico
