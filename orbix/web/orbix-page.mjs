// SPDX-License-Identifier: BSD-3-Clause
// --page for orbix-calc.mjs: pages of one molecule as SVG, with the desktop
// program's checks and messages. Only SVG is written here.

import { mkdirSync, renameSync, writeFileSync } from "node:fs";
import path from "node:path";

function fail(message, status) {
  process.stderr.write(message + "\n");
  return status;
}

// Replaces file only once the whole document is written.
function save(file, text) {
  try {
    const part = `${file}.part${process.pid}`;
    writeFileSync(part, text);
    renameSync(part, file);
    return true;
  } catch (e) {
    process.stderr.write(`${file}: 画像を書き込めません: ${e.message}\n`);
    return false;
  }
}

export function runPage(core, options, mirror) {
  const pages = core.pageScenes();
  const sceneList = pages.map((p) => p.scene).join(", ");
  if (options.json) return fail("--page と --json は同時に指定できません。", 2);
  if (options.files.length !== 1)
    return fail("--page には分子データファイルを１つだけ指定してください。", 2);
  if (!options.out) return fail("--out に保存先を指定してください。", 2);
  const file = options.files[0];
  const sceneText = options.page.trim();
  const all = sceneText.toLowerCase() === "all";
  let scene = 0;
  if (!all) {
    scene = /^[+-]?\d+$/.test(sceneText) ? Number(sceneText) : NaN;
    if (!pages.some((p) => p.scene === scene))
      return fail(
        `シーン ${sceneText} にはページがありません（${sceneList} または all を指定してください）。`,
        2,
      );
  }
  const orbitalScene = (s) => s === 11 || s === 12;
  let orbital = 0;
  if (options.orbital !== undefined) {
    if (all || !orbitalScene(scene))
      return fail("--orbital はシーン 11 か 12 と共に指定してください。", 2);
    orbital = /^\s*[+-]?\d+\s*$/.test(options.orbital) ? Number(options.orbital) : NaN;
    if (!(orbital >= 1)) return fail(`軌道番号 ${options.orbital} は使えません（1 以上の整数）。`, 2);
  }
  if (all) {
    const name = options.format ?? "svg";
    if (name.toLowerCase() !== "svg")
      return fail(`画像形式 ${name} には対応していません（svg）。`, 2);
  } else {
    if (options.format !== undefined)
      return fail(
        "--format は --page all と共に指定してください（１枚のときは --out の拡張子で決まります）。",
        2,
      );
    if (path.extname(options.out).toLowerCase() !== ".svg")
      return fail(`${options.out}: 画像の形式が分かりません（拡張子は .svg）。`, 2);
  }

  mirror(core.FS, file);
  const outcome = core.calculateFile(file, path.basename(file));
  if (outcome.code !== 0) return fail(`${file}: ${outcome.message}`, 1);
  const n = core.atomCount();
  if (orbital > n)
    return fail(`軌道番号 ${orbital} は範囲外です（${file} の軌道は 1 から ${n}）。`, 2);
  if (!all) return save(options.out, core.pageSvg(scene, orbital || 1)) ? 0 : 1;
  try {
    mkdirSync(options.out, { recursive: true });
  } catch {
    return fail(`${options.out}: フォルダーを作れません。`, 1);
  }
  for (const page of pages) {
    const orbitals = orbitalScene(page.scene) ? n : 1;
    for (let o = 1; o <= orbitals; ++o) {
      const name = path.join(options.out, core.fileStem(page.scene, o) + ".svg");
      if (!save(name, core.pageSvg(page.scene, o))) return 1;
    }
  }
  return 0;
}
