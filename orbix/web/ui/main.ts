// SPDX-License-Identifier: BSD-3-Clause
// The web edition's page: starts the core, builds the palette and canvas,
// and wires the toolbar, the keyboard and the files to the core's commands.

import atomTable from "../../../data/atom.dat";
import helpFile from "../../../docs/Orbix.hlp";
import { templates } from "orbix-assets";
import type { Core, Editor, Message } from "./core";
import { DesignCanvas } from "./design";
import { $, download, el, messageBox, pickFile } from "./dom";
import { ResultView } from "./results";

const PROGRAM = "/program/";
const ATOM_ERROR_TITLE = "Orbix.exe－原子データの読み込みエラー";
const PROGRAM_TITLE = "Orbix分子軌道法";

let core: Core;
let editor: Editor;
let canvas: DesignCanvas;
let results: ResultView;

const isMessage = (x: unknown): x is Message => !!x && typeof x === "object" && "message" in x;

function refresh(): void {
  const s = editor.state();
  document.title = `${s.name || "無題"}－${PROGRAM_TITLE}`;
  for (const b of document.querySelectorAll<HTMLInputElement>("#palette input"))
    b.checked = Number(b.value) === s.element;
}

function buildPalette(): void {
  const elements = core.elements();
  canvas.setElements(elements);
  const palette = $("palette");
  palette.replaceChildren(el("legend", {}, "原子"));
  elements.forEach((e, i) => {
    const label = el("label", { class: "element" });
    const input = el("input", { type: "radio", name: "element", value: String(i + 1) });
    input.addEventListener("change", () => {
      editor.setElement(i + 1);
      refresh();
    });
    const swatch = el("span", { class: "swatch", "aria-hidden": "true" });
    swatch.style.background = e.colour;
    label.append(input, swatch, el("span", {}, e.caption));
    palette.append(label);
  });
}

// The save prompt of 新規 and 開く: true when the command may go on.
async function askAndSave(): Promise<boolean> {
  const prompt = editor.savePrompt();
  if (!prompt) return true;
  const answer = await messageBox(prompt, PROGRAM_TITLE, ["yes", "no", "cancel"]);
  if (answer === "cancel") return false;
  if (answer === "yes") return save("ファイルに名前を付けて保存");
  return true;
}

function save(title: string): boolean {
  const bytes = editor.save(title);
  if (isMessage(bytes)) {
    void messageBox(bytes.message, bytes.title);
    return false;
  }
  const name = editor.state().name || "無題";
  const file = /\.(mol|tpl)$/i.test(name) ? name : `${name}.mol`;
  download(file, bytes, "application/octet-stream");
  editor.saved(file);
  refresh();
  return true;
}

async function newDrawing(): Promise<void> {
  if (!(await askAndSave())) return;
  editor.newDrawing();
  canvas.render();
  refresh();
}

async function openBytes(name: string, bytes: Uint8Array, template: boolean): Promise<void> {
  const path = `/input/${template ? "template" : "file"}/${name.replace(/\//g, "_")}`;
  core.FS.mkdirTree(path.slice(0, path.lastIndexOf("/")));
  core.FS.writeFile(path, bytes);
  const failure = editor.open(path, name, template);
  if (failure) await messageBox(failure.message, failure.title);
  canvas.render();
  refresh();
}

async function openFile(): Promise<void> {
  if (!(await askAndSave())) return;
  const file = await pickFile(".mol,.tpl");
  if (file) await openBytes(file.name, new Uint8Array(await file.arrayBuffer()), false);
}

async function openTemplate(name: string): Promise<void> {
  const t = templates.find((x) => x.name === name);
  if (!t || !(await askAndSave())) return;
  await openBytes(t.name, t.bytes, true);
}

async function loadElementTable(): Promise<void> {
  if (!(await askAndSave())) return;
  const file = await pickFile(".dat,.txt");
  if (!file) return;
  const path = "/input/atom/" + file.name.replace(/\//g, "_");
  core.FS.mkdirTree("/input/atom");
  core.FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
  const error = core.loadAtoms(path);
  if (error) {
    await messageBox(error, ATOM_ERROR_TITLE);
    return;
  }
  editor.newDrawing();
  buildPalette();
  canvas.render();
  refresh();
}

async function calc(): Promise<void> {
  const started = performance.now();
  const failure = editor.calc();
  performance.measure("orbix-calc", { start: started });
  if (failure) {
    await messageBox(failure.message, failure.title);
    return;
  }
  $("design").hidden = true;
  $("result").hidden = false;
  results.start();
}

function toDesign(): void {
  $("result").hidden = true;
  $("design").hidden = false;
  $("canvas").focus();
}

function showHelp(): void {
  const text = core.helpText(PROGRAM + "Orbix.hlp");
  if (!text) {
    void messageBox("ヘルプファイルの表示に失敗しました。", "Orbix");
    return;
  }
  $("help-text").textContent = text.replace(/\r\n?/g, "\n");
  ($("help") as HTMLDialogElement).showModal();
}

const commands: Record<string, () => void> = {
  new: () => void newDrawing(),
  open: () => void openFile(),
  save: () => void save("ファイルに名前を付けて保存"),
  deleteAtom: () => edit((ed) => ed.deleteAtom()),
  connect: () => edit((ed) => ed.connect()),
  deleteBond: () => edit((ed) => ed.deleteBond()),
  selAll: () => edit((ed) => ed.selAll()),
  selClear: () => edit((ed) => ed.selClear()),
  calc: () => void calc(),
  elementTable: () => void loadElementTable(),
  help: showHelp,
};

function edit(f: (ed: Editor) => void): void {
  f(editor);
  canvas.render();
  refresh();
}

// The desktop's shortcuts (those the browser leaves to pages).
function shortcut(e: KeyboardEvent): void {
  if ($("design").hidden || document.querySelector("dialog[open]")) return;
  const ctrl = e.ctrlKey || e.metaKey;
  let command = "";
  if (ctrl && e.key.toLowerCase() === "a" && !(e.target instanceof HTMLInputElement && e.target.type !== "radio"))
    command = "selAll";
  else if (ctrl && e.key.toLowerCase() === "d") command = "selClear";
  else if (ctrl && e.key.toLowerCase() === "k") command = "connect";
  else if (ctrl && e.key.toLowerCase() === "o") command = "open";
  else if (ctrl && e.key.toLowerCase() === "s") command = "save";
  else if (e.key === "Delete") command = e.shiftKey ? "deleteBond" : "deleteAtom";
  else if (e.key === "F5") command = "calc";
  if (!command) return;
  e.preventDefault();
  commands[command]();
}

async function start(): Promise<void> {
  core = await OrbixCore();
  core.FS.mkdirTree(PROGRAM + "data");
  core.FS.writeFile(PROGRAM + "data/atom.dat", atomTable);
  core.FS.writeFile(PROGRAM + "Orbix.hlp", helpFile);
  const error = core.loadAtoms(PROGRAM + "data/atom.dat");
  if (error) {
    await messageBox(error, ATOM_ERROR_TITLE);
    return;
  }
  editor = new core.Editor();
  canvas = new DesignCanvas($("canvas") as unknown as SVGSVGElement, core, () => editor, refresh);
  buildPalette();
  results = new ResultView(() => editor, toDesign);
  const list = $("templates") as HTMLSelectElement;
  for (const t of templates) list.append(el("option", { value: t.name }, t.name.replace(/\.tpl$/, "")));
  list.addEventListener("change", () => {
    const name = list.value;
    list.value = "";
    void openTemplate(name);
  });
  for (const b of document.querySelectorAll<HTMLButtonElement>("[data-command]"))
    b.addEventListener("click", () => commands[b.dataset.command ?? ""]?.());
  document.addEventListener("keydown", shortcut);
  window.addEventListener("beforeunload", (e) => {
    if (editor.state().changed) e.preventDefault();
  });
  canvas.render();
  refresh();
  document.body.dataset.ready = "true";
  performance.mark("orbix-ready");
}

void start();
