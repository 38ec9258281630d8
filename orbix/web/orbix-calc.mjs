// SPDX-License-Identifier: BSD-3-Clause
// orbix-calc on the web edition's core, for node:
//   node orbix-calc.mjs [--atoms FILE] [--json] FILE...
//   node orbix-calc.mjs [--atoms FILE] --page SCENE|all [--orbital K] [--format svg] [--out PATH] FILE
// The same output and exit status as the desktop's orbix-calc, so the two can
// be compared headless.

import { readFileSync, statSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";
import process from "node:process";

const here = path.dirname(new URL(import.meta.url).pathname);
const OrbixCore = createRequire(import.meta.url)("./orbix-core.js");

function usage(message) {
  process.stderr.write(message + "\n");
  process.exit(2);
}

function parseArguments(argv) {
  const valued = new Set(["atoms", "page", "orbital", "format", "out"]);
  const options = { files: [] };
  for (let i = 0; i < argv.length; ++i) {
    const arg = argv[i];
    if (arg === "--") {
      options.files.push(...argv.slice(i + 1));
      break;
    }
    const m = /^--([a-z]+)(?:=(.*))?$/s.exec(arg);
    if (!m) {
      options.files.push(arg);
      continue;
    }
    const [, name, inline] = m;
    if (name === "json" || name === "help" || name === "version") {
      options[name] = true;
    } else if (valued.has(name)) {
      if (inline === undefined && i + 1 >= argv.length) usage(`Missing value after '${arg}'.`);
      options[name] = inline ?? argv[++i];
    } else {
      usage(`Unknown option '${name}'.`);
    }
  }
  return options;
}

// Puts the host file at name (as given, relative to the working folder) into
// the module's file system at the same path; a file that cannot be read is
// left out, so that opening it fails there too.
function mirror(FS, name) {
  const full = path.resolve(name);
  try {
    if (!statSync(full).isFile()) return;
    const bytes = readFileSync(full);
    FS.mkdirTree(path.dirname(full));
    FS.writeFile(full, bytes);
  } catch {
    // unreadable: stays missing
  }
}

const options = parseArguments(process.argv.slice(2));
if (options.help) {
  process.stdout.write(
    "Usage: orbix-calc.mjs [--atoms FILE] [--json] FILE...\n" +
      "       orbix-calc.mjs [--atoms FILE] --page SCENE|all [--orbital K] [--format svg] [--out PATH] FILE\n",
  );
  process.exit(0);
}
if (options.files.length === 0) usage("分子データファイルを指定してください。");

const core = await OrbixCore();
const FS = core.FS;
FS.mkdirTree(process.cwd());
FS.chdir(process.cwd());

const atoms = options.atoms ?? path.join(here, "data/atom.dat");
mirror(FS, atoms);
const atomError = core.loadAtoms(atoms);
if (atomError) {
  process.stderr.write(atoms + ": " + atomError + "\n");
  process.exit(2);
}

if (options.page !== undefined) {
  const { runPage } = await import("./orbix-page.mjs");
  process.exit(runPage(core, options, mirror));
}

let status = 0;
const out = [];
for (const file of options.files) {
  mirror(FS, file);
  const outcome = core.calculateFile(file, path.basename(file));
  if (outcome.code !== 0) {
    status = 1;
    process.stderr.write(`${file}: ${outcome.message}\n`);
  }
  if (options.json) out.push(core.jsonLine(file));
  else if (outcome.code === 0) out.push(core.reportText(file) + "\n");
}
// Written as a stream and left to drain: a pipe takes large output in parts.
process.stdout.write(out.join(""));
process.exitCode = status;
