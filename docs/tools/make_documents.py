#!/usr/bin/env python3
# SPDX-License-Identifier: BSD-3-Clause
"""Writes the course documents docs/document1-3.rtf from their sources in docs/src/.

Usage: make_documents.py ORBIX_CALC [OUTPUT_FOLDER]

The documents are written into docs/ unless another folder is given (the
test that the shipped documents are up to date writes them elsewhere).

document1.rtf comes from document1.txt; document2.rtf (exercises) and
document3.rtf (exercises with answers) both come from exercises.txt, so that
the two always pose the same problems. The sources are UTF-8 text, one
paragraph a line:

  # title            ## heading          ### subheading
  - item             > formula (indented)   an empty line is an empty paragraph
  **bold**  __underline__  _{subscript}  ^{superscript}  a tab is a tab
  @answer NAME.tpl [coef=K,...] [deloc=REF] [gap]
  @elements          the element table of data/atom.dat, one line an element
  @tabs T1,T2,... ... @end-tabs   lines with left tab stops at the given
                     twips, so that columns (a determinant) line up; the
                     paragraphs have no indent (a reader may measure tab stops
                     from the indent or from the margin), so indent with a tab
  @only2 LINE / @only3 LINE      a line of the exercises or of the answers only
  @begin-answer ... @end-answer  lines of the answers only

"@answer" runs ORBIX_CALC --json on the template and writes the answer lines
with the numbers it computes: electrons, HOMO/LUMO (or SOMO), orbital
energies, total energy, densities, bond orders, the integrals of a molecule
with heteroatoms, and on request the coefficients of orbitals K, the
delocalisation energy and the HOMO-LUMO gap. The localised reference of the
delocalisation energy is REF/2 isolated double bonds (2α + 2β each); the
π electrons left over sit in isolated 2p orbitals at α each, which cancels
against Nα. The wording of these lines is what the answers test reads.

The RTF is written as a Japanese word processor writes it: code page 932,
characters of CP932 as \\'hh byte pairs, any other character as \\uN with a
"?" fallback.
"""

import json
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DOCS = os.path.dirname(HERE)
TEMPLATES = os.path.join(os.path.dirname(DOCS), "template")
ATOMS = os.path.join(os.path.dirname(DOCS), "data", "atom.dat")

KINDS = {
    "C": "炭素", "N": "ピリジン型窒素", "N:": "ピロール型窒素", "O": "カルボニル酸素",
    "O:": "エーテル・ヒドロキシ酸素", "S:": "チオフェン型硫黄", "F": "フッ素", "Cl": "塩素",
    "Br": "臭素", "CH3": "メチル基", "N+": "ピリジニウム型窒素", "O+": "オキソニウム型酸素",
}

MINUS = "\u2212"

# Characters where Python's cp932 codec and the Windows code page disagree
# (Windows reads 0x817C as U+FF0D, for instance): written as \uN instead.
UNICODE_ONLY = set("\u2212\u301c\u2016\u00a2\u00a3\u00ac")

HEADER = (
    "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1041\\uc1"
    "{\\fonttbl{\\f0\\fnil\\fcharset128 " + "" + "@GOTHIC@;}}"
    "{\\colortbl;\\red0\\green0\\blue128;\\red128\\green0\\blue0;\\red0\\green96\\blue0;"
    "\\red0\\green0\\blue192;\\red192\\green0\\blue0;}"
    "\\viewkind4\\pard\\plain\\f0\\fs21\n"
)


def escape(text):
    out = []
    for ch in text:
        o = ord(ch)
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ch == "\t":
            out.append("\\tab ")
        elif 0x20 <= o < 0x80:
            out.append(ch)
        elif ch in UNICODE_ONLY:
            out.append("\\u%d?" % (o if o < 0x8000 else o - 0x10000))
        else:
            try:
                out.append("".join("\\'%02x" % b for b in ch.encode("cp932")))
            except UnicodeEncodeError:
                if o > 0xFFFF:
                    raise SystemExit("character outside the BMP: %r" % ch)
                out.append("\\u%d?" % (o if o < 0x8000 else o - 0x10000))
    return "".join(out)


INLINE = re.compile(r"\*\*(.+?)\*\*|__(.+?)__|_\{(.+?)\}|\^\{(.+?)\}")


def inline(text):
    out, pos = [], 0
    for m in INLINE.finditer(text):
        out.append(escape(text[pos:m.start()]))
        bold, under, sub, sup = m.groups()
        if bold is not None:
            out.append("{\\b " + escape(bold) + "}")
        elif under is not None:
            out.append("{\\ul " + escape(under) + "}")
        elif sub is not None:
            out.append("{\\sub " + escape(sub) + "}")
        else:
            out.append("{\\super " + escape(sup) + "}")
        pos = m.end()
    out.append(escape(text[pos:]))
    return "".join(out)


def paragraph(line):
    if line.startswith("# "):
        return "\\pard\\qc\\sb120\\sa240{\\b\\fs36\\cf1 " + inline(line[2:]) + "}\\par\n"
    if line.startswith("## "):
        return "\\pard\\sb240\\sa120{\\b\\fs28\\cf2 " + inline(line[3:]) + "}\\par\n"
    if line.startswith("### "):
        return "\\pard\\sb120\\sa60{\\b\\fs24\\cf3 " + inline(line[4:]) + "}\\par\n"
    if line.startswith("- "):
        return "\\pard\\li420\\fi-210 " + escape("・") + inline(line[2:]) + "\\par\n"
    if line.startswith("> "):
        return "\\pard\\li840\\sb60\\sa60{\\cf4 " + inline(line[2:]) + "}\\par\n"
    return "\\pard " + inline(line) + "\\par\n"


def number(value, decimals):
    text = "%.*f" % (decimals, value)
    if float(text) == 0.0:
        text = "%.*f" % (decimals, 0.0)
    return text.replace("-", MINUS)


def calculate(orbix_calc, template):
    path = os.path.join(TEMPLATES, template)
    result = subprocess.run([orbix_calc, "--json", path], capture_output=True, text=True, check=True)
    data = json.loads(result.stdout.splitlines()[0])
    if data["code"] != 0:
        raise SystemExit("%s: code %d" % (template, data["code"]))
    return data


def answer(orbix_calc, args):
    template, options = args[0], dict(a.split("=", 1) if "=" in a else (a, "") for a in args[1:])
    d = calculate(orbix_calc, template)
    n, electrons, homo = d["n"], d["E_num"], d["Homo_num"]
    x, P, H = d["EigVal"], d["P"], d["Hmat0"]
    bonds = [(i, j) for i in range(n) for j in range(i + 1, n) if H[i][j] != 0]
    lines = []
    occupied = "SOMO" if electrons % 2 else "HOMO"
    lines.append("- π電子数 N = %d，%s は φ%d，LUMO は φ%d" % (electrons, occupied, homo, homo + 1))
    if any(H[i][i] != 0 for i in range(n)):
        lines.append("- クーロン積分 α + hβ の h（「クローン積分」のページ）：" +
                     "，".join("h%d = %s" % (i + 1, number(H[i][i], 2)) for i in range(n)))
        lines.append("- 共鳴積分 kβ の k（「共鳴積分」のページ）：" +
                     "，".join("k(%d,%d) = %s" % (i + 1, j + 1, number(H[i][j], 2)) for i, j in bonds))
    lines.append("- 軌道エネルギー E = α + xβ の x：" +
                 "，".join("x%d = %s" % (k + 1, number(x[k], 3)) for k in range(n)))
    lines.append("- 全π電子エネルギー：E = %dα + %sβ" % (electrons, number(d["Energy"], 3)))
    if "deloc" in options:
        ref = int(options["deloc"])
        if ref % 2 or ref > electrons:
            raise SystemExit("%s: deloc=%d is not a set of double bonds" % (template, ref))
        reference = "孤立した二重結合 %d 本" % (ref // 2)
        if electrons > ref:
            reference += "と、孤立した 2p 軌道の電子 %d 個" % (electrons - ref)
        lines.append("- 非局在化エネルギー：%sβ − %sβ = %sβ（局在構造：%s）" % (
            number(d["Energy"], 3), number(ref, 3), number(d["Energy"] - ref, 3), reference))
    if "gap" in options:
        lines.append("- HOMO→LUMO 励起エネルギー：ΔE = %s|β|" % number(x[homo - 1] - x[homo], 3))
    for k in [int(c) for c in options.get("coef", "").split(",") if c]:
        C = d["Cvec"]
        terms = []
        for r in range(n):
            c = number(C[r][k - 1], 4)
            if not terms:
                terms.append("%sχ%d" % (c, r + 1))
            elif c.startswith(MINUS):
                terms.append("%s %sχ%d" % (MINUS, c[1:], r + 1))
            else:
                terms.append("+ %sχ%d" % (c, r + 1))
        lines.append("- φ%d = %s" % (k, " ".join(terms)))
    lines.append("- π電子密度：" + "，".join("q%d = %s" % (i + 1, number(P[i][i], 3)) for i in range(n)))
    lines.append("- π結合次数（「結合次数」のページには 1 + p が出ます）：" +
                 "，".join("p(%d,%d) = %s（画面 %s）" % (i + 1, j + 1, number(P[i][j], 3),
                                                     number(1 + P[i][j], 3)) for i, j in bonds))
    return lines


def elements():
    lines = ["記号\t種類\tπ電子\th\t隣の炭素の h に加える値\tk の因子"]
    with open(ATOMS, encoding="cp932") as f:
        for raw in f:
            fields = [v.strip() for v in raw.strip().split(",")]
            if len(fields) != 6:
                continue
            caption, e_num, ha, hb, hl, _ = fields
            lines.append("\t".join([caption, KINDS.get(caption, ""), e_num, ha, hb, hl]))
    return lines


def build(source, orbix_calc, variant=None):
    body = []
    in_answer = False
    tabs = None
    with open(source, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if line == "@begin-answer":
                in_answer = True
                continue
            if line == "@end-answer":
                in_answer = False
                continue
            if in_answer and variant != 3:
                continue
            if line.startswith("@tabs "):
                tabs = "".join("\\tx%d" % int(t) for t in line[6:].split(","))
                continue
            if line == "@end-tabs":
                tabs = None
                continue
            if tabs is not None:
                body.append("\\pard" + tabs + "{\\cf4 " + inline(line) + "}\\par\n")
                continue
            only = re.match(r"@only([23]) (.*)", line)
            if only:
                if int(only.group(1)) != variant:
                    continue
                line = only.group(2)
            if line.startswith("@answer "):
                for generated in answer(orbix_calc, line.split()[1:]):
                    body.append(paragraph(generated))
            elif line.strip() == "@elements":
                for row in elements():
                    body.append("\\pard\\li420\\tx1260\\tx3780\\tx4620\\tx5460\\tx8000 " + inline(row) + "\\par\n")
            elif line.strip() == "":
                body.append("\\pard\\par\n")
            else:
                body.append(paragraph(line))
    return HEADER.replace("@GOTHIC@", escape("ＭＳ Ｐゴシック")) + "".join(body) + "}\n"


def main():
    if len(sys.argv) not in (2, 3):
        raise SystemExit(__doc__)
    out = sys.argv[2] if len(sys.argv) == 3 else DOCS
    sources = {1: ("document1.txt", None), 2: ("exercises.txt", 2), 3: ("exercises.txt", 3)}
    for k, (source, variant) in sources.items():
        rtf = build(os.path.join(DOCS, "src", source), sys.argv[1], variant)
        with open(os.path.join(out, "document%d.rtf" % k), "w", encoding="ascii", newline="\r\n") as f:
            f.write(rtf)


if __name__ == "__main__":
    main()
