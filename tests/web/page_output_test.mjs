// SPDX-License-Identifier: BSD-3-Clause
// The web edition's SVG pages beside the desktop's: every page of a few
// molecules carries the same texts, positions, colours, lines, circles and
// points. The two writers differ, so the drawings are compared, not bytes.

import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { mkdtempSync, readdirSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import path from "node:path";
import test from "node:test";

const { ORBIX_WEB_DIR: webDir, ORBIX_NATIVE_CALC: nativeCalc } = process.env;

// The desktop's writer keeps 6 digits, and places texts in 64ths of a unit.
const near = (x, y) => Math.abs(x - y) <= 1 / 64 + 1e-5 * Math.abs(y);
const ATTR = /([\w:-]+)="([^"]*)"/g;
const unescape = (s) =>
  s.replace(/&lt;/g, "<").replace(/&gt;/g, ">").replace(/&quot;/g, '"').replace(/&amp;/g, "&");

// The primitives of a document, in drawing order: {kind, text?, numbers,
// colour}. Colours come from the element or the groups around it; the page's
// background and the eigen table's cells and rules are left out (the table
// is compared by its texts).
export function primitives(svg) {
  const out = [];
  const stack = [{}];
  let inTable = 0;
  const tags = /<(\/?)([\w:]+)((?:\s+[\w:-]+="[^"]*")*)\s*(\/?)>([^<]*)/g;
  for (const [, close, name, attrText, selfClose, after] of svg.matchAll(tags)) {
    if (close) {
      if (name === "g" || name === "svg") {
        if (stack.pop().table) --inTable;
      }
      continue;
    }
    const a = Object.fromEntries([...attrText.matchAll(ATTR)].map((m) => [m[1], m[2]]));
    const inherited = { ...stack.at(-1) };
    for (const key of ["fill", "stroke"]) if (a[key]) inherited[key] = a[key];
    const scaled = /matrix\((?!1,0,0,1,0,0\))|scale\(/.test(a.transform ?? "");
    if (name === "g" || name === "svg") {
      if (!selfClose) {
        stack.push({ ...inherited, table: scaled });
        if (scaled) ++inTable;
      }
      continue;
    }
    const n = (k) => Number(a[k]);
    if (name === "text") {
      const text = unescape(after);
      if (inTable) out.push({ kind: "cell", text: text, colour: inherited.fill, numbers: [] });
      else out.push({ kind: "text", text, colour: inherited.fill, numbers: [n("x"), n("y")] });
    } else if (inTable) {
      continue;
    } else if (name === "line") {
      out.push({ kind: "line", colour: inherited.stroke, numbers: ["x1", "y1", "x2", "y2"].map(n) });
    } else if (name === "polyline") {
      const p = a.points.trim().split(/[\s,]+/).map(Number);
      out.push({ kind: "line", colour: inherited.stroke, numbers: p });
    } else if (name === "circle") {
      const fill = inherited.fill === "none" ? "" : "/" + inherited.fill;
      out.push({ kind: "circle", colour: inherited.stroke + fill, numbers: ["cx", "cy", "r"].map(n) });
    } else if (name === "rect" && a.width === "1" && a.height === "1") {
      out.push({ kind: "point", colour: inherited.fill, numbers: [n("x"), n("y")] });
    } else if (name === "path" && inherited.fill !== "none") {
      for (const m of a.d.matchAll(/M(-?\d+) (-?\d+)h1v1h-1z/g))
        out.push({ kind: "point", colour: inherited.fill, numbers: [Number(m[1]), Number(m[2])] });
    }
  }
  return out;
}

// The desktop's writer splits a text where its script changes; texts that
// follow each other on one line in one colour are joined on both sides, and
// each keeps the places where its parts start.
export function joinTexts(list) {
  const out = [];
  for (const p of list) {
    const last = out.at(-1);
    if (p.kind === "cell" && last?.kind === "cell") {
      last.text += p.text;
      continue;
    }
    if (p.kind !== "text") {
      out.push(p);
      continue;
    }
    if (
      last?.kind === "text" &&
      last.colour === p.colour &&
      near(last.numbers[1], p.numbers[1]) &&
      p.numbers[0] > last.starts.at(-1)
    ) {
      last.text += p.text;
      last.starts.push(p.numbers[0]);
      continue;
    }
    out.push({ ...p, starts: [p.numbers[0]] });
  }
  return out;
}

function pages(calc, args, dir) {
  const run = spawnSync(calc[0], [...calc.slice(1), "--page", "all", "--out", dir, ...args], {
    cwd: webDir,
  });
  assert.equal(run.status, 0, run.stderr.toString());
  return Object.fromEntries(
    readdirSync(dir).map((f) => [path.parse(f).name, readFileSync(path.join(dir, f), "utf8")]),
  );
}


test("every page draws what the desktop's draws", () => {
  const dir = mkdtempSync(path.join(tmpdir(), "orbix-pages-"));
  try {
    for (const molecule of ["benzene", "pyridine", "allyl", "naphthalene", "thiophene"]) {
      const file = `template/${molecule}.tpl`;
      const web = pages(["node", path.join(webDir, "orbix-calc.mjs")], [file], `${dir}/w-${molecule}`);
      const desktop = pages([nativeCalc], [file], `${dir}/d-${molecule}`);
      assert.deepEqual(Object.keys(web).sort(), Object.keys(desktop).sort(), molecule);
      for (const stem of Object.keys(desktop)) {
        const w = joinTexts(primitives(web[stem]));
        const d = joinTexts(primitives(desktop[stem]));
        const where = `${molecule} ${stem}`;
        assert.ok(d.length > 0, where);
        assert.equal(w.length, d.length, `${where}: number of primitives`);
        for (let i = 0; i < d.length; ++i) {
          const same =
            w[i].kind === d[i].kind &&
            w[i].text === d[i].text &&
            w[i].colour === d[i].colour &&
            w[i].numbers.length === d[i].numbers.length &&
            w[i].numbers.every((v, j) => near(v, d[i].numbers[j])) &&
            (w[i].starts ?? []).every((x) => d[i].starts.some((y) => near(x, y)));
          assert.ok(same, `${where} #${i}: ${JSON.stringify(w[i])} != ${JSON.stringify(d[i])}`);
        }
      }
    }
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});
