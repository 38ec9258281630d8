// SPDX-License-Identifier: BSD-3-Clause
// The result view: scene tree, 次へ / 戻る / デザイン, the page drawn by the
// core as SVG, the eigen table as an HTML table, and the page's downloads.

import type { Editor, PageState } from "./core";
import { $, download, el } from "./dom";

// The result window's tree: text and parent of scenes 1-12.
const SCENES: [string, number][] = [
  ["波動関数の解析 メニュー", 0],
  ["固有値および固有ベクトル", 1],
  ["電荷密度と結合次数", 1],
  ["π電子密度", 3],
  ["結合次数", 3],
  ["軌道エネルギー準位", 1],
  ["クローンおよび共鳴積分", 1],
  ["クローン積分", 7],
  ["共鳴積分", 7],
  ["分子軌道の表示", 1],
  ["平面", 10],
  ["立体", 10],
];

export class ResultView {
  private page: PageState | null = null;
  private readonly items: HTMLElement[] = [];

  constructor(
    private readonly editor: () => Editor,
    private readonly toDesign: () => void,
  ) {
    const tree = $("scene-tree");
    const groups: HTMLElement[] = [tree];
    SCENES.forEach(([text, parent], i) => {
      const scene = i + 1;
      const li = el("li", { role: "treeitem", tabindex: "-1", "data-scene": String(scene) });
      li.append(el("span", {}, text));
      if (scene === 1 || scene === 3 || scene === 7 || scene === 10) {
        li.setAttribute("aria-expanded", "true");
        const ul = el("ul", { role: "group" });
        li.append(ul);
        groups[scene] = ul;
      }
      groups[parent].append(li);
      this.items[scene] = li;
    });
    tree.addEventListener("click", (e) => {
      const li = (e.target as Element).closest("[data-scene]");
      if (li) this.run((ed) => ed.show(Number(li.getAttribute("data-scene"))));
    });
    tree.addEventListener("keydown", (e) => this.treeKey(e));
    $("result-design").addEventListener("click", () => this.toDesign());
    $("result-back").addEventListener("click", () => this.run((ed) => ed.back()));
    $("result-next").addEventListener("click", () => this.run((ed) => ed.next()));
    $("save-svg").addEventListener("click", () => this.saveSvg());
    $("save-png").addEventListener("click", () => void this.savePng());
    $("save-csv").addEventListener("click", () =>
      // With a byte-order mark, so that spreadsheets read the cells as UTF-8.
      download("固有値および固有ベクトル.csv", "\ufeff" + this.editor().csv(), "text/csv;charset=utf-8"),
    );
    $("print").addEventListener("click", () => window.print());
  }

  start(): void {
    this.show();
    this.items[2]?.focus();
  }

  private run(f: (ed: Editor) => void): void {
    f(this.editor());
    this.show();
  }

  private show(): void {
    const p = this.editor().page();
    this.page = p;
    const holder = $("page-svg");
    holder.innerHTML = p.svg.replace(/^<\?xml[^>]*>\s*/, "");
    holder.querySelector("svg")?.setAttribute("role", "img");
    holder.querySelector("svg")?.setAttribute("aria-label", holder.querySelector("title")?.textContent ?? "");
    const table = $("eigen-table");
    table.replaceChildren();
    table.hidden = !p.cells;
    if (p.cells) {
      table.style.color = p.cellColour ?? "";
      p.cells.forEach((row, r) => {
        const tr = el("tr");
        row.forEach((cell, c) => {
          const header = r === 0 || c === 0;
          const td = el(header ? "th" : "td", header ? { scope: r === 0 ? "col" : "row" } : {}, cell.trim());
          tr.append(td);
        });
        table.append(tr);
      });
    }
    for (const [i, li] of this.items.entries()) {
      if (!li) continue;
      const current = i === p.scene;
      li.setAttribute("aria-selected", String(current));
      li.tabIndex = current ? 0 : -1;
      if (current && this.items.some((x) => x === document.activeElement)) li.focus();
    }
    ($("result-back") as HTMLButtonElement).disabled = false;
    ($("result-next") as HTMLButtonElement).disabled = false;
    $("page-caption").textContent = SCENES[(p.scene ?? 1) - 1][0] + ([11, 12].includes(p.scene ?? 0) ? ` ${p.orbital}` : "");
  }

  private treeKey(e: KeyboardEvent): void {
    const order = [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12];
    const at = order.findIndex((s) => this.items[s] === document.activeElement);
    if (e.key === "Enter") {
      e.preventDefault();
      this.run((ed) => ed.next());
    } else if (e.key === "ArrowDown" || e.key === "ArrowUp") {
      e.preventDefault();
      const next = order[Math.max(0, Math.min(order.length - 1, at + (e.key === "ArrowDown" ? 1 : -1)))];
      this.run((ed) => ed.show(next));
      this.items[next].focus();
    }
  }

  private saveSvg(): void {
    if (!this.page?.stem) return;
    download(`${this.page.stem}.svg`, this.page.file, "image/svg+xml");
  }

  private async savePng(): Promise<void> {
    if (!this.page?.stem) return;
    const image = new Image();
    image.src = "data:image/svg+xml;charset=utf-8," + encodeURIComponent(this.page.file);
    await image.decode();
    const canvas = el("canvas", { width: "1280", height: "800" });
    const g = canvas.getContext("2d");
    if (!g) return;
    g.drawImage(image, 0, 0, 1280, 800);
    const stem = this.page.stem;
    canvas.toBlob((blob) => blob && download(`${stem}.png`, blob, "image/png"), "image/png");
  }
}
