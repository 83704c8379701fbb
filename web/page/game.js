// The game in the page: the game's shell runs in the core and calls this front end for every
// change it shows (Module.frontend); the page's input goes back to the shell through the
// core's exported functions. Nothing here decides anything of the game.
import { GameView, SCORE_CARD } from "./view.js";

// A key as the game knows it: the character on the key (digits, upper-case letters, ' ' for
// Space) or a named key (1 Up, 2 Down, 3 Enter), and the modifiers held with it.
export function portableKey(event) {
  let modifiers = (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0) | (event.metaKey ? 8 : 0);
  if (event.location === KeyboardEvent.DOM_KEY_LOCATION_NUMPAD) {
    modifiers |= 16;
  }
  const named = { ArrowUp: 1, ArrowDown: 2, Enter: 3 }[event.key];
  if (named) {
    return { character: 0, named, modifiers };
  }
  const key = event.key === "Spacebar" ? " " : event.key;
  if (key.length !== 1) {
    return null;
  }
  const character = key.toUpperCase().charCodeAt(0);
  return character < 128 ? { character, named: 0, modifiers } : null;
}

export class WebFrontend {
  constructor({ core, sound, fetchBytes, root, page }) {
    const m = core.module;
    this.page = page;
    this.core = core;
    this.m = m;
    this.sound = sound;
    this.fetchBytes = fetchBytes;
    this.newGame = null;
    this.options = null;
    this.pause = null;
    this.messages = 0;
    this.view = new GameView(root, core.layout(2), core.menu(), {
      roll: () => m._quintaro_roll(),
      dieClicked: (die) => m._quintaro_die_clicked(die),
      rowClicked: (row) => m._quintaro_row_clicked(row),
      menu: (item) => m._quintaro_menu_item(item),
      key: (event, control) => {
        const key = portableKey(event);
        return key !== null && m._quintaro_key(key.character, key.named, key.modifiers, control) === 1;
      },
    });
  }

  // ---- the main window --------------------------------------------------------------------

  openMainWindow(players, title, names, menuTexts) {
    this.view.layout = this.core.layout(players);
    this.view.buildMainWindow(players, names);
    this.view.setTitle(title);
    this.view.setMenuTexts(menuTexts);
    this.page.onMainWindow?.();
  }

  closeMainWindow() {
    clearTimeout(this.pause);
    this.pause = null;
    this.view.setBusy(false);
    this.view.closeMainWindow();
  }

  setTitle(title) { this.view.setTitle(title); }
  setMenuTexts(texts) { this.view.setMenuTexts(texts); }
  setCellText(row, column, text) { this.view.setCellText(row, column, text); }
  setCellColour(row, column, rgb) { this.view.setCellColour(row, column, rgb); }
  setDieHeld(die, held) { this.view.setDieHeld(die, held); }
  setControlText(control, text) { this.view.setControlText(control, text); }
  setControlEnabled(control, enabled) { this.view.setControlEnabled(control, enabled); }
  showSelection(row) { this.view.selectRow(row); }
  focusedControl() { return this.view.focusedControl(); }
  focusControl(control) { this.view.focusControl(control); }
  frameDice(mask) { this.view.frameDice(mask); }
  describeHint(text) { this.view.describeHint(text); }

  nameControl(control, name) { this.view.setAccessibleName(control, name); }
  nameCell(row, column, name) { this.view.setAccessibleName(SCORE_CARD, name, row, column); }
  announce(control) {
    const node = this.view.controls?.[control];
    if (node) {
      this.view.announce(node.textContent || node.getAttribute("aria-label") || "");
    }
  }

  // The computer's hand stays on show this long; the game drops input meanwhile.
  startPause(ms) {
    this.view.setBusy(true);
    this.pause = setTimeout(() => {
      this.pause = null;
      this.view.setBusy(false);
      this.m._quintaro_pause_ended();
    }, Math.max(0, ms));
  }

  // ---- boxes and dialogs --------------------------------------------------------------------

  showMessage(caption, text) {
    ++this.messages;
    this.view.messageBox(caption, text, [[this.view.words.ok, true]], () => {
      --this.messages;
      this.m._quintaro_message_closed();
    });
  }

  askYesNo(caption, text) {
    const { yes, no } = this.view.words;
    this.view.messageBox(caption, text, [[yes, 1], [no, 0]], (answer) => this.m._quintaro_yes_no_answered(answer));
  }

  showOptions(showHand, sec, stronger, apply, cancel, secondsText, strongerOn) {
    if (!this.options || this.options.closed) {
      this.options = this.view.optionsDialog({ showHand, sec, stronger, apply, cancel },
        (kind, text, step, box) => this.core.withString(text, (t) => this.m._quintaro_options_edited(kind, t, step, box ? 1 : 0)));
    }
    this.options.show(secondsText, strongerOn);
  }

  closeOptions() {
    this.options?.close();
    this.options = null;
  }

  showNewGameDialog(title, peopleName, computerName) {
    this.newGame?.close();
    this.newGame = this.view.newGameDialog([title, peopleName, computerName],
      (mode) => this.m._quintaro_mode_chosen(mode));
  }

  closeNewGameDialog() {
    this.newGame?.close();
    this.newGame = null;
  }

  showInputBox(title, prompt, text) {
    this.view.inputBox(title, prompt, text, (ok, answer) =>
      this.core.withString(answer, (a) => this.m._quintaro_input_box_answered(ok ? 1 : 0, a)));
  }

  // ---- the rest ---------------------------------------------------------------------------

  useLanguage(code) { this.view.useLanguage(code); }

  loadSound(number, name) {
    this.fetchBytes(name).then((bytes) => this.sound.load(bytes));
  }

  playSound() { this.sound.play(); }
  freeSound() { this.sound.free(); }

  // The rules open in a new tab as UTF-8 text, whatever type the host gives .txt files. The
  // tab opens at once (the click allows it) and shows the text once it is read.
  openDocument(name) {
    const tab = window.open("", "_blank");
    if (tab) {
      tab.opener = null;
    }
    this.fetchBytes(name).then((bytes) => {
      if (!bytes) {
        tab?.close();
        return;
      }
      const url = URL.createObjectURL(new Blob([bytes], { type: "text/plain;charset=utf-8" }));
      if (tab) {
        tab.location.href = url;
      } else {
        window.open(url, "_blank", "noopener");
      }
      setTimeout(() => URL.revokeObjectURL(url), 60000);
    });
  }

  // A page has no program to leave: Exit starts afresh, at the new-game dialog.
  quit() {
    setTimeout(() => window.location.reload());
  }

  // ---- what the page shows, for the tests -----------------------------------------------------

  state() {
    const view = this.view;
    const controls = view.controls ?? {};
    const text = (c) => controls[c]?.textContent ?? "";
    const players = view.cells?.[0]?.length - 1 || 0;
    const booked = [0];
    for (let p = 1; p <= players; ++p) {
      booked.push(view.cells.filter((row, r) => r !== 6 && r !== 14 && row[p].classList.contains("coloured")).length);
    }
    return {
      window: Boolean(view.window),
      texts: Object.fromEntries([1, 2, 3, 4, 5, 6, 8, 9].map((c) => [c, text(c)])),
      held: [1, 2, 3, 4, 5].map((d) => controls[d]?.getAttribute("aria-pressed") === "true"),
      enabled: Object.fromEntries([0, 1, 2, 3, 4, 5, 6].map((c) => [c,
        c === SCORE_CARD ? controls[c]?.getAttribute("aria-disabled") === "false" : Boolean(controls[c] && !controls[c].disabled)])),
      focus: view.focusedControl(),
      selection: view.rows ? view.rows.findIndex((row) => row.classList.contains("selected")) : -1,
      booked,
      cells: view.cells?.map((row) => row.map((cell) => cell.textContent)) ?? [],
      message: Boolean(document.querySelector("dialog.message-box[open]")),
      dialog: document.querySelector("dialog[open]")?.classList[1] ?? null,
      pausing: this.pause !== null,
    };
  }
}

export async function startGame({ core, sound, fetchBytes, page }) {
  const root = document.getElementById("game");
  const frontend = new WebFrontend({ core, sound, fetchBytes, root, page });
  page.view = frontend.view;
  page.frontend = frontend;
  window.quintaroTest = { state: () => frontend.state() };
  core.module.frontend = frontend;
  core.module._quintaro_start();
}
