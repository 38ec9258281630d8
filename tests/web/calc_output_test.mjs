// SPDX-License-Identifier: BSD-3-Clause
// The web edition's orbix-calc beside the desktop's: --json byte for byte
// with the stored references (which the desktop's output must equal too), the
// readable report byte for byte with the desktop's program.

import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import path from "node:path";
import test from "node:test";
import { gunzipSync } from "node:zlib";

const { ORBIX_WEB_DIR: webDir, ORBIX_SOURCE_DIR: sourceDir, ORBIX_NATIVE_CALC: nativeCalc } =
  process.env;
const references = path.join(sourceDir, "tests/cli/references");

function webCalc(args, cwd) {
  return spawnSync("node", [path.join(webDir, "orbix-calc.mjs"), ...args], {
    cwd,
    maxBuffer: 1 << 30,
  });
}

// The first differing line, with the file it belongs to and the text around
// the first differing byte.
function assertSameLines(actual, expected, files) {
  const a = actual.split("\n");
  const e = expected.split("\n");
  for (let i = 0; i < Math.max(a.length, e.length); ++i) {
    if (a[i] === e[i]) continue;
    let at = 0;
    while (a[i]?.[at] === e[i]?.[at]) ++at;
    const from = Math.max(0, at - 60);
    assert.fail(
      `${files[i] ?? "line " + i}: first difference at ${at}\n  expected …` +
        `${e[i]?.slice(from, from + 120)}\n  actual   …${a[i]?.slice(from, from + 120)}`,
    );
  }
}

const templates = readdirSync(path.join(webDir, "template"))
  .filter((name) => name.endsWith(".tpl"))
  .map((name) => "template/" + name)
  .sort((x, y) => Buffer.compare(Buffer.from(x), Buffer.from(y)));

test("--json of the templates equals the stored references", () => {
  assert.ok(templates.length >= 20);
  const run = webCalc(["--json", ...templates], webDir);
  assert.equal(run.status, 0, run.stderr.toString());
  const expected = gunzipSync(readFileSync(path.join(references, "templates.jsonl.gz")));
  assertSameLines(run.stdout.toString(), expected.toString(), templates);
  assert.ok(run.stdout.equals(expected));
});

test("--json of the seeded random molecules equals the stored references", () => {
  const dir = mkdtempSync(path.join(tmpdir(), "orbix-web-"));
  try {
    const files = [];
    for (const line of readFileSync(path.join(references, "molecules.txt"), "utf8").split("\n")) {
      if (!line) continue;
      const [name, atoms, bonds] = line.split("\t");
      // A name under a folder is never written, so its open fails.
      if (!name.includes("/")) {
        let text = `[Atom]=${atoms}\r\n`;
        if (bonds) text += `[Bond]=${bonds}\r\n`;
        writeFileSync(path.join(dir, name), text);
      }
      files.push(name);
    }
    assert.ok(files.length >= 300);
    const run = webCalc(["--json", ...files], dir);
    assert.equal(run.status, 1, "some references are refused");
    const expected = gunzipSync(readFileSync(path.join(references, "random.jsonl.gz")));
    assertSameLines(run.stdout.toString(), expected.toString(), files);
    assert.ok(run.stdout.equals(expected));
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});

test("the report, errors and exit status equal the desktop's", () => {
  const cases = [
    [...templates],
    ["template/benzene.tpl", "missing.mol"],
    ["--atoms", "template/benzene.tpl", "template/benzene.tpl"],
  ];
  for (const args of cases) {
    const web = webCalc(args, webDir);
    const desktop = spawnSync(nativeCalc, args, { cwd: webDir, maxBuffer: 1 << 30 });
    assert.equal(web.stdout.toString(), desktop.stdout.toString(), args.join(" "));
    assert.equal(web.stderr.toString(), desktop.stderr.toString(), args.join(" "));
    assert.equal(web.status, desktop.status, args.join(" "));
  }
});

