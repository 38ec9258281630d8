#!/usr/bin/env python3
# SPDX-License-Identifier: BSD-3-Clause
"""Writes the C++ table of a TrueType font's horizontal metrics: its units per
em, ascender and (Windows) descender, and the advance of every character it maps, as
runs of consecutive characters with the same advance.

Usage: advances.py FONT.ttf OUTPUT.cpp
"""
import struct
import sys


def tables(data):
    count = struct.unpack_from(">H", data, 4)[0]
    found = {}
    for i in range(count):
        tag, _, offset, length = struct.unpack_from(">4sIII", data, 12 + 16 * i)
        found[tag.decode("latin-1")] = data[offset:offset + length]
    return found


def character_map(cmap):
    """Character to glyph, from the Unicode subtable (format 12 or 4)."""
    count = struct.unpack_from(">H", cmap, 2)[0]
    subtables = {}
    for i in range(count):
        platform, encoding, offset = struct.unpack_from(">HHI", cmap, 4 + 8 * i)
        subtables[(platform, encoding)] = offset
    glyphs = {}
    for key in ((3, 10), (0, 4)):
        if key in subtables:
            at = subtables[key]
            groups = struct.unpack_from(">I", cmap, at + 12)[0]
            for g in range(groups):
                first, last, glyph = struct.unpack_from(">III", cmap, at + 16 + 12 * g)
                for ch in range(first, last + 1):
                    glyphs[ch] = glyph + ch - first
            return glyphs
    at = subtables.get((3, 1), subtables.get((0, 3)))
    segments = struct.unpack_from(">H", cmap, at + 6)[0] // 2
    ends = at + 14
    starts = ends + 2 * segments + 2
    deltas = starts + 2 * segments
    ranges = deltas + 2 * segments
    for s in range(segments):
        end, start = struct.unpack_from(">HH", cmap, ends + 2 * s)[0], struct.unpack_from(
            ">H", cmap, starts + 2 * s)[0]
        delta, range_offset = struct.unpack_from(">hH", cmap, deltas + 2 * s)[0], struct.unpack_from(
            ">H", cmap, ranges + 2 * s)[0]
        for ch in range(start, min(end, 0xFFFE) + 1):
            if range_offset == 0:
                glyph = (ch + delta) & 0xFFFF
            else:
                where = ranges + 2 * s + range_offset + 2 * (ch - start)
                glyph = struct.unpack_from(">H", cmap, where)[0]
                if glyph:
                    glyph = (glyph + delta) & 0xFFFF
            if glyph:
                glyphs[ch] = glyph
    return glyphs


def main():
    font, output = sys.argv[1], sys.argv[2]
    data = open(font, "rb").read()
    t = tables(data)
    units_per_em = struct.unpack_from(">H", t["head"], 18)[0]
    ascender = struct.unpack_from(">h", t["hhea"], 4)[0]
    descender = struct.unpack_from(">H", t["OS/2"], 76)[0]
    metrics_count = struct.unpack_from(">H", t["hhea"], 34)[0]
    advances = [struct.unpack_from(">H", t["hmtx"], 4 * i)[0] for i in range(metrics_count)]
    runs = []
    for ch, glyph in sorted(character_map(t["cmap"]).items()):
        advance = advances[min(glyph, metrics_count - 1)]
        if runs and runs[-1][1] == ch - 1 and runs[-1][2] == advance:
            runs[-1][1] = ch
        else:
            runs.append([ch, ch, advance])
    notdef = advances[0]
    with open(output, "w", encoding="utf-8") as out:
        out.write("// Written by advances.py from the page font; not edited by hand.\n")
        out.write('#include "orbix/calc/FontMetrics.h"\n\n')
        out.write("namespace modCalculation::font {\n\n")
        out.write(f"const int kUnitsPerEm = {units_per_em};\n")
        out.write(f"const int kAscender = {ascender};\n")
        out.write(f"const int kDescender = {descender};\n")
        out.write(f"const int kMissingAdvance = {notdef};\n")
        out.write(f"const int kRunCount = {len(runs)};\n")
        out.write("const AdvanceRun kRuns[] = {\n")
        for first, last, advance in runs:
            out.write(f"    {{{first:#x}, {last:#x}, {advance}}},\n")
        out.write("};\n\n}  // namespace modCalculation::font\n")


main()
