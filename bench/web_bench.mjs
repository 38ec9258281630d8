// SPDX-License-Identifier: BSD-3-Clause
// The web edition's figures: the site's size (plain and gzipped), the time
// from opening index.html to an interactive canvas, and Calc of the whole
// 36-site lattice in the browser (check, build, RunCalculation and the first
// page; the first on a page, and the sixth, once the engine has optimised
// the code), each the median of several runs in the system's chromium.
// Usage: node bench/web_bench.mjs [BUILD_WEB_DIR]   (after scripts/web.sh)

import { mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { gzipSync } from "node:zlib";

const webDir = path.resolve(process.argv[2] ?? "build-web");
const { chromium } = createRequire(path.join(webDir, "npm/"))("playwright-core");
const siteDir = path.join(webDir, "site");
const median = (v) => [...v].sort((a, b) => a - b)[Math.floor(v.length / 2)];

let plain = 0;
let gzipped = 0;
for (const f of readdirSync(siteDir)) {
  const bytes = readFileSync(path.join(siteDir, f));
  plain += bytes.length;
  gzipped += gzipSync(bytes, { level: 9 }).length;
}
console.log(`site: ${(plain / 1024).toFixed(0)} KB, gzipped ${(gzipped / 1024).toFixed(0)} KB`);

// The whole lattice: every site a carbon, every link a bond.
const bonds = [];
for (let s = 2; s <= 36; s += 2) {
  if ((s - 1) % 9 !== 0) bonds.push(`${s - 1}-${s}`);
  if (s < 36 && s % 9 !== 0) bonds.push(`${s}-${s + 1}`);
  if (s <= 26) bonds.push(`${s}-${s + 9}`);
}
const dir = mkdtempSync(path.join(tmpdir(), "orbix-bench-"));
const lattice = path.join(dir, "lattice.mol");
const atoms = Array.from({ length: 36 }, (_, i) => `${i + 1}-1`).join(",");
writeFileSync(lattice, `[Atom]=${atoms}\r\n[Bond]=${bonds.join(",")}\r\n`);

const browser = await chromium.launch({
  executablePath: "/usr/bin/chromium",
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking"],
});
const ready = [];
const calc = [];
const warm = [];
for (let run = 0; run < 7; ++run) {
  const page = await browser.newPage({ viewport: { width: 1366, height: 768 } });
  await page.goto(pathToFileURL(path.join(siteDir, "index.html")).href);
  await page.waitForSelector("body[data-ready=true]");
  ready.push(await page.evaluate(() => performance.getEntriesByName("orbix-ready")[0].startTime));
  const chooser = page.waitForEvent("filechooser");
  await page.click("[data-command=open]");
  await (await chooser).setFiles(lattice);
  await page.waitForFunction(() => document.querySelectorAll("[data-tile]").length === 36);
  await page.click("[data-command=calc]");
  await page.waitForSelector("#eigen-table:not([hidden])");
  // Again on the same page, once the engine has optimised the code.
  for (let again = 0; again < 5; ++again) {
    await page.click("#result-design");
    await page.click("[data-command=calc]");
    await page.waitForSelector("#eigen-table:not([hidden])");
  }
  const times = await page.evaluate(() => performance.getEntriesByName("orbix-calc").map((e) => e.duration));
  calc.push(times[0]);
  warm.push(times.at(-1));
  await page.close();
}
await browser.close();
rmSync(dir, { recursive: true, force: true });
console.log(`open to interactive: ${median(ready).toFixed(0)} ms (median of ${ready.length})`);
console.log(`Calc of the 36-site lattice in the browser: first ${median(calc).toFixed(1)} ms, ` +
  `sixth on the same page ${median(warm).toFixed(1)} ms (medians of ${calc.length})`);
