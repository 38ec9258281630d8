// SPDX-License-Identifier: BSD-3-Clause
// What the WebAssembly core offers the page (orbix/web/Binding.cpp,
// Editor.cpp).

export interface Message {
  message: string;
  title: string;
}

export interface Tile {
  site: number;
  element: number;
  selected: boolean;
  left: number;
  top: number;
}

export interface DrawingState {
  tiles: Tile[];
  lines: [number, number, number, number][];
  selected: number;
  atoms: number;
  changed: boolean;
  element: number;
  name: string;
}

export interface PageState {
  scene?: number;
  orbital: number;
  pageScene: number;
  pageOrbital: number;
  top: boolean;
  end: boolean;
  svg: string;
  file: string;
  stem: string;
  maxOff: number;
  cells?: string[][];
  cellColour?: string;
}

export interface Editor {
  newDrawing(): void;
  siteDown(site: number, left: boolean): void;
  tileDown(site: number, ctrl: boolean): void;
  band(x1: number, y1: number, x2: number, y2: number): void;
  selClear(): void;
  selAll(): void;
  connect(): void;
  deleteAtom(): void;
  deleteBond(): void;
  setElement(element: number): void;
  state(): DrawingState;
  savePrompt(): string;
  save(title: string): Uint8Array | Message;
  saved(name: string): void;
  open(path: string, name: string, template: boolean): Message | null;
  calc(): Message | null;
  show(scene: number): void;
  next(): void;
  back(): void;
  page(): PageState;
  csv(): string;
}

export interface Core {
  FS: {
    mkdirTree(path: string): void;
    writeFile(path: string, data: Uint8Array | string): void;
  };
  Editor: new () => Editor;
  loadAtoms(path: string): string;
  lattice(): { sites: [number, number][]; lines: [number, number][]; markerSize: number; tileSize: number };
  elements(): { caption: string; colour: string }[];
  helpText(path: string): string;
  pageScenes(): { scene: number; stem: string; title: string }[];
}

declare global {
  function OrbixCore(options?: object): Promise<Core>;
}
