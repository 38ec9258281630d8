// SPDX-License-Identifier: BSD-3-Clause
// Small DOM functions: elements by id, dialogs, downloads.

export function $(id: string): HTMLElement {
  const e = document.getElementById(id);
  if (!e) throw new Error(`#${id} missing`);
  return e;
}

export function el<K extends keyof HTMLElementTagNameMap>(
  tag: K,
  attrs: Record<string, string> = {},
  text?: string,
): HTMLElementTagNameMap[K] {
  const e = document.createElement(tag);
  for (const [k, v] of Object.entries(attrs)) e.setAttribute(k, v);
  if (text !== undefined) e.textContent = text;
  return e;
}

export type Answer = "yes" | "no" | "cancel" | "ok";

const labels: Record<Answer, string> = { yes: "はい", no: "いいえ", cancel: "キャンセル", ok: "OK" };

// A message box in the page: title, text (line ends kept) and buttons; the
// answer of the button pressed, "cancel" (or "ok") on Escape.
export function messageBox(text: string, title: string, buttons: Answer[] = ["ok"]): Promise<Answer> {
  const dialog = $("message") as HTMLDialogElement;
  $("message-title").textContent = title;
  $("message-text").textContent = text.replace(/\r\n?/g, "\n");
  const row = $("message-buttons");
  row.replaceChildren();
  return new Promise((resolve) => {
    for (const b of buttons) {
      const button = el("button", { type: "button", "data-answer": b }, labels[b]);
      button.addEventListener("click", () => {
        dialog.close(b);
      });
      row.append(button);
    }
    dialog.addEventListener(
      "close",
      () => resolve((dialog.returnValue as Answer) || (buttons.includes("cancel") ? "cancel" : buttons[0])),
      { once: true },
    );
    dialog.returnValue = "";
    dialog.showModal();
    (row.firstElementChild as HTMLElement).focus();
  });
}

export function download(name: string, data: BlobPart, type: string): void {
  const url = URL.createObjectURL(new Blob([data], { type }));
  const a = el("a", { href: url, download: name });
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}

// The bytes of a file the user picks, or null when none is picked.
export function pickFile(accept: string): Promise<File | null> {
  return new Promise((resolve) => {
    const input = el("input", { type: "file", accept });
    input.addEventListener("change", () => resolve(input.files?.[0] ?? null), { once: true });
    input.addEventListener("cancel", () => resolve(null), { once: true });
    input.click();
  });
}
