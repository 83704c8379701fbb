// The game's windows in the page. The page only draws: every position and size comes from
// the game's layout table (its 96-DPI pixels are CSS pixels) and every text from the game's
// shell; each input goes to the handlers as an event. The stage is scaled to the viewport.

const el = (tag, attributes = {}, ...children) => {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (name === "class") {
      node.className = value;
    } else if (name.startsWith("on")) {
      node.addEventListener(name.slice(2), value);
    } else {
      node.setAttribute(name, value);
    }
  }
  node.append(...children);
  return node;
};

const place = (node, [x, y, width, height]) => {
  Object.assign(node.style, { left: `${x}px`, top: `${y}px`, width: `${width}px`, height: `${height}px` });
  return node;
};

// Markup for what the page also carries drawn at build time (web/prerender.mjs).
const escape = (text) =>
  String(text).replace(/[&<>"]/g, (c) => ({ "&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;" })[c]);
const placed = ([x, y, width, height], more = "") =>
  `style="left: ${x}px; top: ${y}px; width: ${width}px; height: ${height}px;${more}"`;

// A dialog's frame: its caption (named so that screen readers name the dialog by it) and its
// client area of the layout table's size, around the given content.
const dialogMarkup = (id, kind, caption, [width, height], content = "") =>
  `<dialog class="window ${kind}" aria-modal="true"${caption ? ` aria-labelledby="${id}-caption"` : ""}>` +
  `<div class="caption" id="${id}-caption" aria-hidden="${caption ? "false" : "true"}">${escape(caption)}</div>` +
  `<div class="client" style="width: ${width}px; height: ${height}px;">${content}</div></dialog>`;

// The new-game dialog: its two picture buttons, named for screen readers, report modes 1
// (people) and 2 (the computer).
export const PICTURES = ["pvp_0.jpg", "pvc_0.jpg"];
export function newGameMarkup(layout, id, [caption, peopleName, computerName]) {
  const button = (rect, mode, name) =>
    `<button class="picture" type="button" data-mode="${mode}" aria-label="${escape(name)}" ` +
    `${placed(rect, ` --inset: ${layout.pictureInset}px;`)}><img src="${PICTURES[mode - 1]}" alt="" draggable="false"></button>`;
  return dialogMarkup(id, "new-game", caption, layout.client,
    button(layout.peopleButton, 1, peopleName) + button(layout.computerButton, 2, computerName));
}

const fromMarkup = (html) => {
  const template = document.createElement("template");
  template.innerHTML = html;
  return template.content.firstElementChild;
};

const colour = (value) => (value == null ? "" : `#${value.toString(16).padStart(6, "0")}`);

// Control numbers of the main window, as the game's shell names them.
export const SCORE_CARD = 0;
export const ROLL_BUTTON = 6;
export const TURN_LABEL = 8;
export const HAND_LABEL = 9;

// The buttons of the message boxes and the input box, as a toolkit names them.
const BUTTON_WORDS = {
  en: { ok: "OK", yes: "Yes", no: "No" },
  de: { ok: "OK", yes: "Ja", no: "Nein" },
  bg: { ok: "OK", yes: "Да", no: "Не" },
};

export class GameView {
  constructor(root, layout, menu, handlers) {
    this.root = root;
    this.layout = layout;
    this.menuEntries = menu;
    this.handlers = handlers;
    this.live = el("div", { class: "live", "aria-live": "polite", role: "status" });
    this.root.append(this.live);
    this.busy = false;
    // The message boxes' own buttons, in the game's language (GameView.useLanguage).
    this.words = BUTTON_WORDS.en;
    window.addEventListener("resize", () => this.fit());
    // Alt or F10 reaches the menu bar from the keyboard (one listener for every window).
    document.addEventListener("keydown", (event) => {
      if ((event.key === "F10" || (event.key === "Alt" && !event.repeat)) && !this.busy && this.window?.isConnected &&
          !document.querySelector("dialog[open]")) {
        event.preventDefault();
        const first = this.menubar.firstElementChild;
        first.tabIndex = 0;
        first.focus();
      }
    });
    // Keys with the focus nowhere (the page itself) are the main window's, as on the desktop.
    document.addEventListener("keydown", (event) => {
      if ((event.target === document.body || event.target === document.documentElement) && this.window?.isConnected &&
          !document.querySelector("dialog[open]")) {
        this.key(event, -1);
      }
    });
  }

  // The page's first dialog is drawn in the language kept here (index.html's own script).
  useLanguage(code) {
    document.documentElement.lang = code || "en";
    this.words = BUTTON_WORDS[code] ?? BUTTON_WORDS.en;
    try {
      localStorage.setItem("quintaro-language", code || "en");
    } catch {
      // storage denied: the first dialog is drawn in the page's default language
    }
  }

  // The window fits the viewport whole, a phone held sideways included (the page's own
  // script scales, the one that shows the first dialog before this script is loaded).
  fit() {
    const stage = this.root.querySelector(".window:not([hidden])") ?? this.window;
    if (stage) {
      window.quintaroFit(stage);
    }
  }

  announce(text) {
    this.live.textContent = "";
    requestAnimationFrame(() => {
      this.live.textContent = text;
    });
  }

  // ---- the main window ----------------------------------------------------------------------

  buildMainWindow(players, names) {
    this.window?.remove();
    const main = this.layout.main;
    const [clientWidth, clientHeight] = main.client;
    const windowNode = el("section", { class: "window main", "aria-label": "", tabindex: "-1" });
    windowNode.style.width = `${clientWidth}px`;
    windowNode.style.height = `${clientHeight}px`;
    this.menubar = this.buildMenu();
    const area = el("div", { class: "client" });
    windowNode.append(this.menubar, area);

    // The score card: a grid of 15 rows, a label column and one column per player.
    const grid = place(el("div", {
      class: "card", role: "grid", "aria-readonly": "true", "aria-disabled": "true", tabindex: "-1",
      "aria-rowcount": "16", "aria-colcount": String(players + 1),
    }), main.scoreCard);
    const widths = main.columnWidths.map((w) => `${w}px`).join(" ");
    grid.style.gridTemplateColumns = widths;
    grid.style.gridTemplateRows = `${main.headerHeight}px`;
    grid.style.gridAutoRows = `${main.rowHeight}px`;
    const header = el("div", { role: "row", class: "header", "aria-rowindex": "1" });
    header.style.height = `${main.headerHeight}px`;
    // The corner above the row labels heads nothing.
    header.append(el("span", { role: "gridcell" }));
    this.headers = [];
    for (let p = 1; p <= players; ++p) {
      const h = el("span", { role: "columnheader" }, names[p] ?? "");
      this.headers.push(h);
      header.append(h);
    }
    grid.append(header);
    this.rows = [];
    this.cells = [];
    for (let r = 0; r < 15; ++r) {
      const row = el("div", { role: "row", "aria-rowindex": String(r + 2), "aria-selected": "false" });
      const cells = [];
      for (let c = 0; c <= players; ++c) {
        const cell = el("span", { role: c === 0 ? "rowheader" : "gridcell" });
        cells.push(cell);
        row.append(cell);
      }
      row.addEventListener("click", (event) => {
        event.stopPropagation();
        this.handlers.rowClicked?.(r);
      });
      this.rows.push(row);
      this.cells.push(cells);
      grid.append(row);
    }
    // A click below the rows.
    grid.addEventListener("click", () => this.handlers.rowClicked?.(-1));
    this.grid = grid;

    this.controls = { [SCORE_CARD]: grid };
    const roll = place(el("button", { class: "roll", type: "button" }), main.rollButton);
    roll.addEventListener("click", () => this.handlers.roll?.());
    this.controls[ROLL_BUTTON] = roll;
    this.controls[TURN_LABEL] = place(el("div", { class: "label turn" }), main.turnLabel);
    this.controls[HAND_LABEL] = place(el("div", { class: "label hand" }), main.handLabel);
    area.append(grid, this.controls[TURN_LABEL]);
    main.dice.forEach((rect, i) => {
      const die = place(el("button", { class: "die", type: "button", "aria-pressed": "false" }), rect);
      die.style.fontSize = `${(main.diceFontPoints * 96) / 72}px`;
      die.style.setProperty("--frame", `${main.hintFrameWidth}px`);
      die.style.setProperty("--frame-colour", `#${main.hintFrameRgb.toString(16).padStart(6, "0")}`);
      // The button does not flip by itself: the game sets it.
      die.addEventListener("click", () => this.handlers.dieClicked?.(i + 1));
      this.controls[i + 1] = die;
      area.append(die);
    });
    this.controls[HAND_LABEL].style.fontSize = `${(main.diceFontPoints * 96) / 72}px`;
    area.append(this.controls[HAND_LABEL], roll);
    // Every key of the window goes to the game with the control it was pressed on.
    windowNode.addEventListener("keydown", (event) => this.key(event, this.controlOf(event.target)));
    this.window = windowNode;
    this.root.append(windowNode);
    this.fit();
    return windowNode;
  }

  key(event, control) {
    if (event.defaultPrevented || event.target.closest?.("[role=menubar]")) {
      return;
    }
    if (this.handlers.key?.(event, control)) {
      event.preventDefault();
    }
  }

  // The control a node belongs to: -1 for the window itself.
  controlOf(node) {
    for (const [number, control] of Object.entries(this.controls ?? {})) {
      if (control === node || (Number(number) === SCORE_CARD && control.contains(node))) {
        return Number(number);
      }
    }
    return -1;
  }

  closeMainWindow() {
    this.window?.remove();
    this.window = null;
    this.controls = {};
  }

  buildMenu() {
    const bar = el("div", { role: "menubar", class: "menubar", "aria-orientation": "horizontal" });
    this.menuTexts = [];
    let menu = null;
    let list = null;
    let sub = null;
    const textNode = (index, key) => {
      const label = el("span", { class: "text" });
      this.menuTexts.push({ index, node: label });
      const parts = [label];
      if (key) {
        parts.push(el("span", { class: "key", "aria-hidden": "true" }, key));
      }
      return parts;
    };
    for (const entry of this.menuEntries) {
      if (entry.kind === "menu") {
        menu = el("div", { role: "menuitem", class: "title", tabindex: bar.children.length ? "-1" : "0",
          "aria-haspopup": "menu", "aria-expanded": "false" }, ...textNode(entry.text));
        list = el("div", { role: "menu", class: "popup", hidden: "" });
        menu.append(list);
        bar.append(menu);
        sub = null;
      } else if (entry.kind === "separator") {
        (sub ?? list).append(el("div", { role: "separator" }));
      } else if (entry.kind === "submenu") {
        const opener = el("div", { role: "menuitem", class: "item has-sub", tabindex: "-1",
          "aria-haspopup": "menu", "aria-expanded": "false" }, ...textNode(entry.text));
        sub = el("div", { role: "menu", class: "popup sub", hidden: "" });
        opener.append(sub);
        list.append(opener);
      } else if (entry.kind === "end") {
        sub = null;
      } else {
        const item = el("div", { role: "menuitem", class: "item", tabindex: "-1", "data-item": String(entry.item) },
          ...textNode(entry.text, entry.key));
        if (entry.key) {
          item.setAttribute("aria-keyshortcuts", entry.key);
        }
        (sub ?? list).append(item);
      }
    }
    this.menuKeys(bar);
    return bar;
  }

  // The menu bar as a real menu bar: Left and Right along the titles, Down or Enter opens,
  // Up and Down within a menu, Right into the language submenu, Escape closes.
  menuKeys(bar) {
    const titles = () => [...bar.children];
    const itemsOf = (popup) => [...popup.children].filter((n) => n.getAttribute("role") === "menuitem");
    const closeAll = () => {
      for (const popup of bar.querySelectorAll(".popup")) {
        popup.hidden = true;
        popup.parentElement.setAttribute("aria-expanded", "false");
      }
    };
    const open = (owner) => {
      const popup = owner.querySelector(":scope > .popup");
      popup.hidden = false;
      owner.setAttribute("aria-expanded", "true");
      return popup;
    };
    const focus = (node) => {
      node.tabIndex = 0;
      node.focus();
    };
    const choose = (item) => {
      closeAll();
      this.menuReturn?.focus?.();
      this.handlers.menu?.(Number(item.dataset.item));
    };
    bar.addEventListener("focusin", (event) => {
      if (!bar.contains(event.relatedTarget)) {
        this.menuReturn = event.relatedTarget;
      }
    });
    bar.addEventListener("focusout", (event) => {
      if (!bar.contains(event.relatedTarget)) {
        closeAll();
      }
    });
    bar.addEventListener("click", (event) => {
      if (this.busy) {
        return;
      }
      const node = event.target.closest("[role=menuitem]");
      if (!node) {
        return;
      }
      if (node.classList.contains("title")) {
        const wasOpen = node.getAttribute("aria-expanded") === "true";
        closeAll();
        if (!wasOpen) {
          open(node);
        }
        focus(node);
      } else if (node.classList.contains("has-sub")) {
        open(node);
      } else {
        choose(node);
      }
    });
    bar.addEventListener("keydown", (event) => {
      if (this.busy) {
        event.preventDefault();
        return;
      }
      const node = event.target.closest("[role=menuitem]");
      if (!node) {
        return;
      }
      const title = node.closest(".title");
      const list = titles();
      const index = list.indexOf(title);
      const popup = node.parentElement;
      const inMenu = !node.classList.contains("title");
      const handled = () => {
        event.preventDefault();
        event.stopPropagation();
      };
      // Left and Right go to the neighbouring menu, open when this one was.
      const toTitle = (step) => {
        const next = list[(index + step + list.length) % list.length];
        const wasOpen = title.getAttribute("aria-expanded") === "true";
        closeAll();
        title.tabIndex = -1;
        focus(next);
        if (wasOpen || inMenu) {
          focus(itemsOf(open(next))[0]);
        }
      };
      switch (event.key) {
        case "ArrowRight":
          if (node.classList.contains("has-sub")) {
            focus(itemsOf(open(node))[0]);
          } else {
            toTitle(1);
          }
          return handled();
        case "ArrowLeft":
          if (popup.classList.contains("sub")) {
            popup.hidden = true;
            popup.parentElement.setAttribute("aria-expanded", "false");
            focus(popup.parentElement);
          } else {
            toTitle(-1);
          }
          return handled();
        case "ArrowDown":
        case "ArrowUp": {
          if (!inMenu) {
            const items = itemsOf(open(node));
            focus(event.key === "ArrowDown" ? items[0] : items[items.length - 1]);
          } else {
            const items = itemsOf(popup);
            const at = items.indexOf(node);
            const step = event.key === "ArrowDown" ? 1 : -1;
            focus(items[(at + step + items.length) % items.length]);
          }
          return handled();
        }
        case "Enter":
        case " ":
          if (!inMenu) {
            focus(itemsOf(open(node))[0]);
          } else if (node.classList.contains("has-sub")) {
            focus(itemsOf(open(node))[0]);
          } else {
            choose(node);
          }
          return handled();
        case "Escape":
          if (inMenu) {
            if (popup.classList.contains("sub")) {
              popup.hidden = true;
              focus(popup.parentElement);
            } else {
              closeAll();
              focus(title);
            }
          } else {
            closeAll();
            this.menuReturn?.focus?.();
          }
          return handled();
        default:
          return undefined;
      }
    });
  }

  setMenuTexts(texts) {
    for (const { index, node } of this.menuTexts) {
      node.textContent = texts[index] ?? "";
    }
  }

  setTitle(title) {
    document.title = title;
    this.window?.setAttribute("aria-label", title);
  }

  setCellText(row, column, text) {
    this.cells[row][column].textContent = text;
  }

  // A coloured cell keeps its colour, selected or not, under the pointer or not.
  setCellColour(row, column, value) {
    const cell = this.cells[row][column];
    cell.style.backgroundColor = colour(value);
    cell.classList.toggle("coloured", value != null);
  }

  setControlText(control, text) {
    const node = this.controls[control];
    if (node) {
      node.textContent = text;
    }
  }

  setControlEnabled(control, enabled) {
    const node = this.controls[control];
    if (control === SCORE_CARD) {
      node.setAttribute("aria-disabled", String(!enabled));
      node.tabIndex = enabled ? 0 : -1;
    } else if (node) {
      node.disabled = !enabled;
    }
  }

  setDieHeld(die, held) {
    this.controls[die].setAttribute("aria-pressed", String(held));
  }

  setAccessibleName(control, name, row, column) {
    if (control === SCORE_CARD && row != null) {
      const cell = this.cells[row]?.[column];
      cell?.setAttribute("aria-label", name);
    } else {
      this.controls[control]?.setAttribute("aria-label", name);
    }
  }

  selectRow(row) {
    this.rows.forEach((node, r) => {
      node.setAttribute("aria-selected", String(r === row));
      node.classList.toggle("selected", r === row);
    });
    if (row >= 0) {
      this.grid.setAttribute("aria-activedescendant", "");
    }
  }

  // The focus the game asks for; a dialog open now hands it over when it closes.
  focusControl(control) {
    this.wantedFocus = control;
    // -1: the window itself, so that keys still reach the game.
    (control < 0 ? this.window : this.controls[control])?.focus();
  }

  focusedControl() {
    return this.controlOf(document.activeElement);
  }

  frameDice(mask) {
    for (let d = 1; d <= 5; ++d) {
      this.controls[d].classList.toggle("framed", Boolean(mask & (1 << (d - 1))));
    }
  }

  describeHint(text) {
    const hand = this.controls[HAND_LABEL];
    hand.title = text;
    if (text) {
      hand.setAttribute("aria-description", text);
      this.announce(text);
    } else {
      hand.removeAttribute("aria-description");
    }
  }

  // The computer's pause: the game drops the player's input until it is over; the focus
  // stays where it is.
  setBusy(busy) {
    this.busy = busy;
    this.window?.classList.toggle("busy", busy);
    this.window?.setAttribute("aria-busy", String(busy));
  }

  // ---- dialogs --------------------------------------------------------------------------------

  // A modal dialog named by its caption (or its text where the caption is empty), the focus
  // inside while it is open and back where it was after. Escape calls onCancel; close() ends
  // it.
  // A dialog given as node (one already drawn, with ids of its own) is taken over as it is.
  dialog(caption, size, build, { named, onCancel, kind = "", node = null } = {}) {
    const returnTo = document.activeElement;
    const id = node ? null : this.newId();
    node ??= fromMarkup(dialogMarkup(id, kind, caption, size));
    const body = node.querySelector(".client");
    if (!caption && named) {
      node.setAttribute("aria-label", named);
    }
    const handle = { node, closed: false };
    handle.close = () => {
      if (handle.closed) {
        return;
      }
      handle.closed = true;
      node.close();
      node.remove();
      this.fit();
      // The focus goes back where it was, unless the game has moved it meanwhile.
      const open = document.querySelector("dialog[open]");
      if (open) {
        open.querySelector("button, input")?.focus();
      } else if (document.activeElement === document.body || !document.activeElement) {
        // Back where it was in the main window, or where the game last put it.
        const wanted = this.controls?.[this.wantedFocus];
        if (returnTo && returnTo.isConnected && this.window?.contains(returnTo)) {
          returnTo.focus();
        } else if (wanted?.isConnected) {
          wanted.focus();
        } else if (returnTo?.isConnected) {
          returnTo.focus();
        }
      }
    };
    node.addEventListener("cancel", (event) => {
      event.preventDefault();
      if (!handle.closed) {
        onCancel?.();
      }
    });
    build(body, handle, id);
    if (!node.isConnected) {
      this.root.append(node);
      node.showModal();
    }
    this.fit();
    return handle;
  }

  newId() {
    return `d${(this.dialogCount = (this.dialogCount ?? 0) + 1)}`;
  }

  // The mode: the picture buttons report a choice and the dialog stays until the game closes
  // it; Escape asks to close it. The first time it is the dialog the page showed from its
  // first paint, in the language the page last used: it gets the game's texts, and a choice
  // the player made on it meanwhile is answered now.
  newGameDialog(texts, onMode) {
    let node = document.getElementById("start");
    const early = node ? window.quintaroEarly : null;
    if (node) {
      node.removeAttribute("id");
      window.quintaroEarly = null;
      node.querySelector(".caption").textContent = texts[0];
      node.querySelectorAll("button.picture").forEach((b, i) => b.setAttribute("aria-label", texts[i + 1]));
    } else {
      node = fromMarkup(newGameMarkup(this.layout.newGame, this.newId(), texts));
    }
    const handle = this.dialog(texts[0], null, (body) => {
      for (const button of body.querySelectorAll("button.picture")) {
        button.addEventListener("click", () => onMode(Number(button.dataset.mode)));
      }
    }, { named: texts[0], onCancel: () => onMode(0), kind: "new-game", node });
    if (early?.length) {
      setTimeout(() => onMode(early[0]));
    }
    return handle;
  }

  // The text-input box: OK (its button or Enter) answers the field, Escape cancels; it
  // closes itself either way.
  inputBox(caption, prompt, value, onAnswer) {
    const layout = this.layout.inputBox;
    let handle;
    const answer = (ok, text) => {
      handle.close();
      onAnswer(ok, text);
    };
    handle = this.dialog(caption, layout.client, (body, _, id) => {
      const label = place(el("label", { class: "prompt", for: `${id}-field` }, prompt), layout.prompt);
      const field = place(el("input", { id: `${id}-field`, type: "text", autocomplete: "off" }), layout.field);
      field.value = value;
      const ok = place(el("button", { type: "button" }, this.words.ok), layout.okButton);
      ok.addEventListener("click", () => answer(true, field.value));
      field.addEventListener("keydown", (event) => {
        if (event.key === "Enter") {
          event.preventDefault();
          answer(true, field.value);
        }
      });
      body.append(label, field, ok);
      queueMicrotask(() => {
        // The caret after the last character, as on the desktop: typing adds to the text.
        field.focus();
        field.setSelectionRange(field.value.length, field.value.length);
      });
    }, { named: prompt, onCancel: () => answer(false, ""), kind: "input-box" });
    return handle;
  }

  // A message box (buttons: [label, value] pairs); it closes itself and answers the value,
  // Escape the last button's.
  messageBox(caption, text, buttons, onAnswer) {
    let handle;
    const answer = (value) => {
      handle.close();
      onAnswer(value);
    };
    handle = this.dialog(caption, [0, 0], (body, dialog, id) => {
      body.style.width = "";
      body.style.height = "";
      body.classList.add("message");
      const textNode = el("p", { id: `${id}-text` }, text);
      body.append(textNode);
      dialog.node.setAttribute("aria-describedby", `${id}-text`);
      const row = el("div", { class: "buttons" });
      buttons.forEach(([label, value]) => {
        const b = el("button", { type: "button" }, label);
        b.addEventListener("click", () => answer(value));
        row.append(b);
      });
      body.append(row);
      queueMicrotask(() => row.firstChild.focus());
    }, { named: text, onCancel: () => answer(buttons[buttons.length - 1][1]), kind: "message-box" });
    return handle;
  }

  // The options dialog as the game shows it: every edit is reported (kind: 0 typed, 1 field
  // left, 2 step, 3 the box, 4 Apply, 5 Cancel) and the game answers with show() again or
  // closes it.
  optionsDialog(texts, onEdit) {
    const layout = this.layout.options;
    const edit = (kind, text = "", step = 0, stronger = false) => {
      if (!handle.closed) {
        onEdit(kind, text, step, stronger);
      }
    };
    let field;
    let check;
    const handle = this.dialog("Options", layout.client, (body, _, id) => {
      const hand = place(el("label", { class: "text", for: `${id}-seconds` }, texts.showHand), layout.handLabel);
      field = place(el("input", {
        id: `${id}-seconds`, type: "text", inputmode: "numeric", role: "spinbutton",
        "aria-valuemin": "0", "aria-valuemax": "5", class: "number", autocomplete: "off",
      }), layout.secondsField);
      field.addEventListener("keydown", (event) => {
        if (event.key === "ArrowUp" || event.key === "ArrowDown") {
          event.preventDefault();
          edit(2, "", event.key === "ArrowUp" ? 1 : -1);
        }
      });
      field.addEventListener("input", () => edit(0, field.value));
      field.addEventListener("blur", () => edit(1));
      const arrows = place(el("div", { class: "arrows" }), layout.secondsArrows);
      const up = el("button", { type: "button", tabindex: "-1", "aria-label": "+1" }, "▲");
      const down = el("button", { type: "button", tabindex: "-1", "aria-label": "-1" }, "▼");
      up.addEventListener("click", () => edit(2, "", 1));
      down.addEventListener("click", () => edit(2, "", -1));
      arrows.append(up, down);
      const sec = place(el("span", { class: "text" }, texts.sec), layout.secondsLabel);
      const box = place(el("label", { class: "check" }), layout.strongerBox);
      check = el("input", { type: "checkbox" });
      check.addEventListener("change", () => edit(3, "", 0, check.checked));
      box.append(check, el("span", {}, texts.stronger));
      const apply = place(el("button", { type: "button" }, texts.apply), layout.applyButton);
      const cancel = place(el("button", { type: "button" }, texts.cancel), layout.cancelButton);
      apply.addEventListener("click", () => edit(4));
      cancel.addEventListener("click", () => edit(5));
      body.append(hand, field, arrows, sec, box, apply, cancel);
      queueMicrotask(() => field.focus());
    }, { onCancel: () => edit(5), kind: "options" });
    handle.show = (secondsText, stronger) => {
      if (field.value !== secondsText) {
        field.value = secondsText;
      }
      if (/^-?\d+$/.test(secondsText)) {
        field.setAttribute("aria-valuenow", secondsText);
      } else {
        field.removeAttribute("aria-valuenow");
      }
      check.checked = stronger;
    };
    return handle;
  }
}
