// SPDX-License-Identifier: BSD-3-Clause
// Builds the site: the browser layer bundled into one classic script (a
// page opened from a file may not load modules) after the core, which holds
// the WebAssembly itself, and the page beside it.
// Usage: node build.mjs SOURCE_DIR BUILD_DIR

import { copyFileSync, mkdirSync, readdirSync, readFileSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";

const [sourceDir, buildDir] = process.argv.slice(2);
// esbuild as npm ci installed it in the build folder.
const { build } = createRequire(path.join(buildDir, "npm/"))("esbuild");
const web = path.join(sourceDir, "orbix/web");
const templateDir = path.join(sourceDir, "template");

// The shipped templates, in name order, as bytes.
const names = readdirSync(templateDir)
  .filter((n) => n.endsWith(".tpl"))
  .sort();
const assets =
  names.map((n, i) => `import t${i} from ${JSON.stringify(path.join(templateDir, n))};`).join("\n") +
  `\nexport const templates = [${names.map((n, i) => `{ name: ${JSON.stringify(n)}, bytes: t${i} }`).join(", ")}];\n`;

const result = await build({
  entryPoints: [path.join(web, "ui/main.ts")],
  bundle: true,
  format: "iife",
  minify: true,
  target: "es2020",
  write: false,
  charset: "utf8",
  loader: { ".dat": "binary", ".hlp": "binary", ".tpl": "binary" },
  logLevel: "warning",
  plugins: [
    {
      name: "orbix-assets",
      setup(b) {
        b.onResolve({ filter: /^orbix-assets$/ }, () => ({ path: "orbix-assets", namespace: "assets" }));
        b.onLoad({ filter: /.*/, namespace: "assets" }, () => ({ contents: assets, loader: "js", resolveDir: templateDir }));
      },
    },
  ],
});

const site = path.join(buildDir, "site");
mkdirSync(site, { recursive: true });
const core = readFileSync(path.join(buildDir, "orbix-core.js"), "utf8");
writeFileSync(path.join(site, "orbix.js"), core + "\n" + result.outputFiles[0].text);
copyFileSync(path.join(web, "site/index.html"), path.join(site, "index.html"));
