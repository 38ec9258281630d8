// SPDX-License-Identifier: BSD-3-Clause
// The page in a real browser (the system's chromium, headless, from file://):
// drawing by mouse, touch and keyboard, files, Calc, every scene, CSV, the
// messages of a structure error and of a broken element table. No request
// may leave the page and no error may reach the console. A screenshot of
// each check goes to build-web/shots/.

import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";
import { pathToFileURL } from "node:url";

const { ORBIX_WEB_DIR: webDir, ORBIX_NATIVE_CALC: nativeCalc } = process.env;
const { chromium } = createRequire(path.join(webDir, "npm/"))("playwright-core");
const site = pathToFileURL(path.join(webDir, "site/index.html")).href;
const shots = path.join(webDir, "shots");
const benzene = readFileSync(path.join(webDir, "template/benzene.tpl"));

let browser;
before(async () => {
  mkdirSync(shots, { recursive: true });
  // Each launch starts from a new, empty profile of its own.
  browser = await chromium.launch({
    executablePath: "/usr/bin/chromium",
    args: [
      "--headless",
      "--no-sandbox",
      "--disable-gpu",
      "--disable-quic",
      "--no-first-run",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
    ],
  });
});
after(async () => {
  await browser?.close();
});

// A page opened from the file, with every request and console message kept.
async function open(options = {}) {
  const context = await browser.newContext({ viewport: { width: 1366, height: 768 }, ...options });
  const page = await context.newPage();
  const seen = { requests: [], errors: [] };
  page.on("request", (r) => seen.requests.push(r.url()));
  page.on("console", (m) => m.type() === "error" && seen.errors.push(m.text()));
  page.on("pageerror", (e) => seen.errors.push(e.message));
  await page.goto(site);
  await page.waitForSelector("body[data-ready=true]", { timeout: 10000 });
  return { page, context, seen };
}

async function close({ page, context, seen }, shot) {
  await page.screenshot({ path: path.join(shots, `${shot}.png`) });
  await context.close();
  assert.deepEqual(seen.errors, [], "console errors");
  const outside = seen.requests.filter((u) => !/^(file|data|blob):/.test(u));
  assert.deepEqual(outside, [], "requests that leave the page");
}

const centre = async (page, selector) => {
  const b = await page.locator(selector).boundingBox();
  return [b.x + b.width / 2, b.y + b.height / 2];
};

async function click(page, selector, modifiers) {
  const [x, y] = await centre(page, selector);
  if (modifiers) await page.keyboard.down(modifiers);
  await page.mouse.click(x, y);
  if (modifiers) await page.keyboard.up(modifiers);
}

async function downloadOf(page, action) {
  const [download] = await Promise.all([page.waitForEvent("download"), action()]);
  return { name: download.suggestedFilename(), bytes: readFileSync(await download.path()) };
}

async function message(page) {
  await page.waitForSelector("#message[open]");
  const m = { title: await page.textContent("#message-title"), text: await page.textContent("#message-text") };
  return m;
}

// Benzene as the template holds it: atoms in its order, then each bond of
// its [Bond] line by selecting its two atoms and 結合.
async function drawBenzene(page, act) {
  const text = benzene.toString();
  const atoms = /\[Atom\]=(.*)\r/.exec(text)[1].split(",").map((a) => a.split("-")[0]);
  const bonds = /\[Bond\]=(.*)\r/.exec(text)[1].split(",").map((b) => b.split("-"));
  for (const site of atoms) await act.site(site);
  for (const [a, b] of bonds) await act.bond(a, b);
}

const mouse = (page) => ({
  site: (s) => click(page, `[data-site="${s}"]`),
  bond: async (a, b) => {
    await click(page, `[data-tile="${a}"]`);
    await click(page, `[data-tile="${b}"]`, "Control");
    await page.click("[data-command=connect]");
  },
});

// Every page with 次へ, as far as it leads (it stays on the planar
// orbitals, as on the desktop), then the 3-D orbitals from the tree.
const walkScenes = async (page) => {
  const seen = [];
  const walk = async (last) => {
    for (let i = 0; i < 20; ++i) {
      seen.push(await page.textContent("#page-caption"));
      if (seen.at(-1) === last) return;
      await page.click("#result-next");
    }
  };
  await walk("平面 6");
  await page.click('[data-scene="12"] > span');
  await walk("立体 6");
  return seen;
};

test("benzene drawn with the mouse: saved bytes, every scene, CSV cells", async () => {
  const opened = await open();
  const { page } = opened;
  await drawBenzene(page, mouse(page));
  await page.screenshot({ path: path.join(shots, "mouse-benzene.png") });
  const saved = await downloadOf(page, () => page.click("[data-command=save]"));
  assert.equal(saved.name, "無題.mol");
  assert.ok(saved.bytes.equals(benzene), `saved ${saved.bytes} expected ${benzene}`);
  assert.equal(await page.title(), "無題.mol－Orbix分子軌道法");

  await page.click("[data-command=calc]");
  await page.waitForSelector("#eigen-table:not([hidden])");
  await page.screenshot({ path: path.join(shots, "mouse-table.png") });
  const csv = await downloadOf(page, () => page.click("#save-csv"));
  const desktop = spawnSync(nativeCalc, ["--json", "template/benzene.tpl"], { cwd: webDir });
  const desktopCsv = JSON.parse(desktop.stdout.toString()).csv;
  assert.equal(csv.bytes.subarray(0, 3).toString("hex"), "efbbbf", "byte-order mark");
  assert.equal(csv.bytes.subarray(3).toString(), desktopCsv);
  const cells = await page.$$eval("#eigen-table tr", (rows) =>
    rows.map((r) => [...r.children].map((c) => c.textContent)),
  );
  assert.deepEqual(
    cells,
    desktopCsv.trimEnd().split("\r\n").map((l) => l.split(",").map((c) => c.trim())),
  );

  const scenes = await walkScenes(page);
  assert.deepEqual(scenes.slice(0, 6), [
    "固有値および固有ベクトル",
    "π電子密度",
    "結合次数",
    "軌道エネルギー準位",
    "クローン積分",
    "共鳴積分",
  ]);
  assert.equal(scenes.length, 6 + 12, scenes.join(" | "));
  assert.equal(scenes.at(-1), "立体 6");
  await page.click('[data-scene="6"] > span');
  assert.match(await page.textContent("#page-svg"), /エネルギーダイヤグラム/);
  await page.screenshot({ path: path.join(shots, "mouse-levels.png") });
  const svg = await downloadOf(page, () => page.click("#save-svg"));
  assert.equal(svg.name, "06-levels.svg");
  assert.match(svg.bytes.toString(), /<title>軌道エネルギー準位<\/title>/);
  const png = await downloadOf(page, () => page.click("#save-png"));
  assert.equal(png.name, "06-levels.png");
  assert.equal(png.bytes.subarray(1, 4).toString(), "PNG");
  await page.click("#result-design");
  await close(opened, "mouse-design-again");
});

test("benzene drawn by touch: tap to place and select, long press clears", async () => {
  const opened = await open({ hasTouch: true, isMobile: false, viewport: { width: 1280, height: 800 } });
  const { page } = opened;
  const tap = async (selector) => page.touchscreen.tap(...(await centre(page, selector)));
  await tap('[data-site="20"]');
  assert.equal(await page.locator("[data-tile]").count(), 1);
  await tap('[data-tile="20"]');
  assert.equal(await page.locator(".tile.selected").count(), 1);
  // A long press on a free site: the right button, which places nothing.
  const [x, y] = await centre(page, '[data-site="22"]');
  const cdp = await opened.context.newCDPSession(page);
  const touch = (type, points) => cdp.send("Input.dispatchTouchEvent", { type, touchPoints: points });
  await touch("touchStart", [{ x, y }]);
  await page.waitForTimeout(700);
  await touch("touchEnd", []);
  assert.equal(await page.locator("[data-tile]").count(), 1);
  assert.equal(await page.locator(".tile.selected").count(), 0);
  await page.click("[data-command=new]");
  const prompt = await message(page);
  assert.equal(prompt.title, "Orbix分子軌道法");
  assert.equal(prompt.text, "ファイル 無題の内容は変更されています。\n変更を保存しますか？");
  await page.click('[data-answer="no"]');
  for (const s of [2, 3, 4, 13, 12, 11]) await tap(`[data-site="${s}"]`);
  // The rubber band by touch, from the canvas's free corner over the ring.
  // Its pointer events are sent to the page itself: the browser's emulated
  // gestures may swallow the next tap after a drag.
  const box = await page.locator("#canvas").boundingBox();
  const [ex, ey] = await centre(page, '[data-tile="13"]');
  await page.evaluate(
    ([x0, y0, x1, y1]) => {
      const canvas = document.getElementById("canvas");
      const send = (type, x, y) =>
        (document.elementFromPoint(x, y) ?? canvas).dispatchEvent(
          new PointerEvent(type, { pointerType: "touch", pointerId: 7, isPrimary: true, clientX: x, clientY: y, bubbles: true }),
        );
      send("pointerdown", x0, y0);
      for (let i = 1; i <= 5; ++i) send("pointermove", x0 + ((x1 - x0) * i) / 5, y0 + ((y1 - y0) * i) / 5);
      send("pointerup", x1, y1);
    },
    [box.x + 4, box.y + 4, ex + 30, ey + 30],
  );
  assert.equal(await page.locator(".tile.selected").count(), 6);
  await tap("[data-command=connect]");
  const saved = (await downloadOf(page, () => tap("[data-command=save]"))).bytes.toString();
  const [atoms, bonds] = saved.split("\r\n");
  const expected = benzene.toString().split("\r\n");
  assert.equal(atoms, expected[0]);
  const set = (line) => line.replace("[Bond]=", "").split(",").sort();
  assert.deepEqual(set(bonds), set(expected[1]));
  await close(opened, "touch-benzene");
});

test("the keyboard alone: cursor, place, select, bond, Calc, scenes", async () => {
  const opened = await open({ viewport: { width: 1024, height: 600 } });
  const { page } = opened;
  // Tab to the canvas; every control on the way has a visible focus.
  for (let i = 0; i < 30 && !(await page.evaluate(() => document.activeElement?.id === "canvas")); ++i)
    await page.keyboard.press("Tab");
  assert.equal(await page.evaluate(() => document.activeElement.id), "canvas");
  // Site 1 is the cursor's start; the ring 2, 3, 4, 13, 12, 11 by arrows.
  const label = () => page.getAttribute("#canvas", "aria-label");
  const goTo = async (site) => {
    for (let i = 0; i < 20 && (await label()) !== `描画領域 サイト ${site}`; ++i) {
      const now = Number((await label()).split(" ").pop());
      const row = (s) => Math.floor((s - 1) / 9);
      const key =
        row(site) > row(now) ? "ArrowDown" : row(site) < row(now) ? "ArrowUp" : site > now ? "ArrowRight" : "ArrowLeft";
      await page.keyboard.press(key);
    }
    assert.equal(await label(), `描画領域 サイト ${site}`);
  };
  for (const s of [2, 3, 4, 13, 12, 11]) {
    await goTo(s);
    await page.keyboard.press("Space");
  }
  await page.keyboard.press("Control+A");
  await page.keyboard.press("Control+K");
  assert.equal(await page.locator(".bond").count(), 6);
  await page.screenshot({ path: path.join(shots, "keyboard-benzene.png") });
  await page.keyboard.press("F5");
  await page.waitForSelector("#eigen-table:not([hidden])");
  assert.equal(await page.evaluate(() => document.activeElement.dataset.scene), "2");
  await page.keyboard.press("Enter");
  assert.equal(await page.textContent("#page-caption"), "π電子密度");
  assert.ok(await page.locator("#eigen-table").isHidden(), "the table leaves with its page");
  await page.keyboard.press("ArrowDown");
  assert.equal(await page.textContent("#page-caption"), "結合次数");
  await close(opened, "keyboard-scenes");
});

test("a structure error and a broken element table show their messages", async () => {
  const opened = await open({ viewport: { width: 1280, height: 800 } });
  const { page } = opened;
  // Two oxygens bonded: heteroatoms may not bond to each other.
  await page.click('#palette input[value="4"]');
  await click(page, '[data-site="2"]');
  await click(page, '[data-site="3"]');
  await page.keyboard.press("Control+A");
  await page.click("[data-command=connect]");
  await page.click("[data-command=calc]");
  const structure = await message(page);
  assert.equal(structure.title, "分子構造エラー－　Orbix分子軌道法");
  assert.match(structure.text, /^分子構造が間違っています。/);
  await page.screenshot({ path: path.join(shots, "structure-error.png") });
  await page.click('[data-answer="ok"]');

  const dir = mkdtempSync(path.join(tmpdir(), "orbix-table-"));
  const broken = path.join(dir, "atom.dat");
  writeFileSync(broken, "C,1,2\r\nnot a table\r\n");
  const chooser = page.waitForEvent("filechooser");
  await page.click("[data-command=elementTable]");
  const answer = await message(page);
  assert.match(answer.text, /変更を保存しますか/);
  await page.click('[data-answer="no"]');
  await (await chooser).setFiles(broken);
  const table = await message(page);
  assert.equal(table.title, "Orbix.exe－原子データの読み込みエラー");
  assert.match(table.text, /原子データファイル/);
  await page.screenshot({ path: path.join(shots, "broken-table.png") });
  await page.click('[data-answer="ok"]');
  // The shipped table stays.
  assert.equal(await page.locator("#palette input").count(), 12);
  rmSync(dir, { recursive: true, force: true });
  await close(opened, "messages-done");
});

test("leaving the page with an unsaved drawing asks first", async () => {
  const { page, context, seen } = await open();
  await click(page, '[data-site="5"]');
  const leaving = new Promise((resolve) =>
    page.once("dialog", (d) => {
      resolve(d.type());
      void d.accept();
    }),
  );
  await page.close({ runBeforeUnload: true });
  assert.equal(await leaving, "beforeunload");
  await context.close();
  assert.deepEqual(seen.errors, []);
});
