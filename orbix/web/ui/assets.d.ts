// SPDX-License-Identifier: BSD-3-Clause
// Files of the program folder, built into the script as bytes.
declare module "*.dat" {
  const bytes: Uint8Array;
  export default bytes;
}
declare module "*.hlp" {
  const bytes: Uint8Array;
  export default bytes;
}
declare module "orbix-assets" {
  export const templates: { name: string; bytes: Uint8Array }[];
}
