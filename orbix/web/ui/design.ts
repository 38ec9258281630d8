// SPDX-License-Identifier: BSD-3-Clause
// The design canvas: the lattice, tiles and bond lines the core reports,
// with mouse, touch and keyboard input turned into the desktop's events.

import type { Core, DrawingState, Editor } from "./core";

const SVG = "http://www.w3.org/2000/svg";
// The desktop's smallest canvas, 640 : 400.
export const CANVAS_WIDTH = 840;
export const CANVAS_HEIGHT = 525;
const LONG_PRESS_MS = 500;

function svg<K extends keyof SVGElementTagNameMap>(tag: K, attrs: Record<string, string | number>) {
  const e = document.createElementNS(SVG, tag);
  for (const [k, v] of Object.entries(attrs)) e.setAttribute(k, String(v));
  return e;
}

export class DesignCanvas {
  private readonly sites: [number, number][];
  private readonly markerSize: number;
  private readonly tileSize: number;
  private readonly layer: SVGGElement;
  private readonly band: SVGRectElement;
  private readonly cursorMark: SVGRectElement;
  private cursor = 1;
  private bandStart: [number, number] | null = null;
  private pressTimer = 0;
  private elements: { caption: string; colour: string }[] = [];

  constructor(
    private readonly root: SVGSVGElement,
    private readonly core: Core,
    private readonly editor: () => Editor,
    private readonly changed: () => void,
  ) {
    const lattice = core.lattice();
    this.sites = lattice.sites;
    this.markerSize = lattice.markerSize;
    this.tileSize = lattice.tileSize;
    root.setAttribute("viewBox", `0 0 ${CANVAS_WIDTH} ${CANVAS_HEIGHT}`);
    const grid = svg("g", { class: "lattice" });
    for (const [a, b] of lattice.lines) {
      const [x1, y1] = this.sites[a - 1];
      const [x2, y2] = this.sites[b - 1];
      grid.append(svg("line", { x1, y1, x2, y2 }));
    }
    this.sites.forEach(([x, y], i) => {
      const m = this.markerSize;
      grid.append(svg("rect", { class: "site", x: x - m / 2, y: y - m / 2, width: m, height: m, "data-site": i + 1 }));
    });
    this.layer = svg("g", {});
    this.band = svg("rect", { class: "band", visibility: "hidden" });
    this.cursorMark = svg("rect", { class: "cursor", width: this.markerSize + 8, height: this.markerSize + 8 });
    root.append(grid, this.layer, this.band, this.cursorMark);
    this.moveCursor(1);
    root.addEventListener("pointerdown", (e) => this.down(e));
    root.addEventListener("pointermove", (e) => this.move(e));
    root.addEventListener("pointerup", (e) => this.up(e));
    root.addEventListener("pointercancel", () => this.endBand());
    root.addEventListener("contextmenu", (e) => e.preventDefault());
    root.addEventListener("keydown", (e) => this.key(e));
  }

  setElements(elements: { caption: string; colour: string }[]): void {
    this.elements = elements;
  }

  render(state: DrawingState = this.editor().state()): void {
    const parts: Element[] = [];
    for (const [x1, y1, x2, y2] of state.lines) parts.push(svg("line", { class: "bond", x1, y1, x2, y2 }));
    for (const t of state.tiles) {
      const g = svg("g", { class: t.selected ? "tile selected" : "tile", "data-tile": t.site });
      const s = this.tileSize;
      const element = this.elements[t.element - 1];
      g.append(
        svg("rect", { x: t.left + 4, y: t.top + 4, width: s - 8, height: s - 8, rx: 8, fill: element?.colour ?? "#888" }),
      );
      const text = svg("text", { x: t.left + s / 2, y: t.top + s / 2 });
      text.textContent = element?.caption ?? "?";
      g.append(text);
      parts.push(g);
    }
    this.layer.replaceChildren(...parts);
    const label = state.tiles
      .map((t) => `${this.elements[t.element - 1]?.caption ?? "?"}(${t.site})${t.selected ? "選択" : ""}`)
      .join(" ");
    this.root.setAttribute("aria-description", label);
  }

  private point(e: PointerEvent): [number, number] {
    const m = this.root.getScreenCTM();
    if (!m) return [0, 0];
    const p = new DOMPoint(e.clientX, e.clientY).matrixTransform(m.inverse());
    return [p.x, p.y];
  }

  private hit(e: PointerEvent): { tile?: number; site?: number } {
    const target = e.target as Element;
    const tile = target.closest("[data-tile]");
    if (tile) return { tile: Number(tile.getAttribute("data-tile")) };
    const site = target.closest("[data-site]");
    if (site) return { site: Number(site.getAttribute("data-site")) };
    return {};
  }

  private act(f: (ed: Editor) => void): void {
    f(this.editor());
    this.render();
    this.changed();
  }

  private down(e: PointerEvent): void {
    this.root.focus({ preventScroll: true });
    const { tile, site } = this.hit(e);
    if (tile !== undefined) {
      this.moveCursor(tile);
      if (e.button === 0) this.act((ed) => ed.tileDown(tile, e.ctrlKey || e.metaKey));
      return;
    }
    if (site !== undefined) {
      this.moveCursor(site);
      if (e.pointerType === "touch") {
        // A long press is the right button.
        this.pressTimer = window.setTimeout(() => {
          this.pressTimer = 0;
          this.act((ed) => ed.siteDown(site, false));
        }, LONG_PRESS_MS);
        return;
      }
      this.act((ed) => ed.siteDown(site, e.button === 0));
      return;
    }
    if (e.button !== 0) return;
    this.act((ed) => ed.selClear());
    this.bandStart = this.point(e);
    // The band follows the pointer outside the canvas too.
    if (e.isTrusted) this.root.setPointerCapture(e.pointerId);
    this.showBand(this.bandStart);
  }

  private move(e: PointerEvent): void {
    if (!this.bandStart) return;
    const p = this.point(e);
    this.showBand(p);
    const [x1, y1] = this.bandStart;
    this.act((ed) => ed.band(x1, y1, p[0], p[1]));
  }

  private up(e: PointerEvent): void {
    if (this.pressTimer) {
      window.clearTimeout(this.pressTimer);
      this.pressTimer = 0;
      const { site } = this.hit(e);
      if (site !== undefined) this.act((ed) => ed.siteDown(site, true));
    }
    this.endBand();
  }

  private endBand(): void {
    this.bandStart = null;
    this.band.setAttribute("visibility", "hidden");
  }

  private showBand([x, y]: [number, number]): void {
    if (!this.bandStart) return;
    const [x0, y0] = this.bandStart;
    this.band.setAttribute("x", String(Math.min(x, x0)));
    this.band.setAttribute("y", String(Math.min(y, y0)));
    this.band.setAttribute("width", String(Math.abs(x - x0)));
    this.band.setAttribute("height", String(Math.abs(y - y0)));
    this.band.setAttribute("visibility", "visible");
  }

  private moveCursor(site: number): void {
    this.cursor = site;
    const [x, y] = this.sites[site - 1];
    const half = (this.markerSize + 8) / 2;
    this.cursorMark.setAttribute("x", String(x - half));
    this.cursorMark.setAttribute("y", String(y - half));
    this.root.setAttribute("aria-label", `描画領域 サイト ${site}`);
  }

  // The nearest site in the arrow's direction.
  private step(dx: number, dy: number): void {
    const [x0, y0] = this.sites[this.cursor - 1];
    let best = 0;
    let bestScore = Infinity;
    this.sites.forEach(([x, y], i) => {
      const along = (x - x0) * dx + (y - y0) * dy;
      if (along <= 0) return;
      const across = Math.abs((x - x0) * dy - (y - y0) * dx);
      const score = along + across;
      if (score < bestScore) {
        bestScore = score;
        best = i + 1;
      }
    });
    if (best) this.moveCursor(best);
  }

  private key(e: KeyboardEvent): void {
    const arrows: Record<string, [number, number]> = {
      ArrowLeft: [-1, 0],
      ArrowRight: [1, 0],
      ArrowUp: [0, -1],
      ArrowDown: [0, 1],
    };
    if (arrows[e.key]) {
      e.preventDefault();
      this.step(...arrows[e.key]);
      return;
    }
    if (e.key === " " || e.key === "Enter") {
      e.preventDefault();
      const site = this.cursor;
      const occupied = this.editor().state().tiles.some((t) => t.site === site);
      if (occupied) this.act((ed) => ed.tileDown(site, e.ctrlKey || e.shiftKey));
      else this.act((ed) => ed.siteDown(site, true));
    }
  }
}
