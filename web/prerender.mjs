// Writes the site's index.html from the page's: the style put in, and the new-game dialog the
// game shows at start drawn in, so that the dialog is on screen and takes the player's choice
// from the first paint, before the game's scripts and core have loaded. The dialog's texts
// and places come from the game's core itself, run here under node once for the default
// settings and once for each language file of the site.
//   node web/prerender.mjs SITE PAGE   (SITE: the built site; PAGE: web/page)
import { readFileSync, readdirSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

const [site, pageFolder] = process.argv.slice(2);
const load = (name) => import(pathToFileURL(join(site, name)).href);
const { default: createQuintaro } = await load("quintaro.mjs");
const { wrapCore } = await load("core.js");
const { newGameMarkup } = await load("view.js");
const wasm = readFileSync(join(site, "quintaro.wasm"));
const languageFiles = readdirSync(site).filter((name) => name.endsWith(".lang")).sort();

// The game started with the language given (none: the default settings): the language it
// uses, the new-game dialog's texts and the layout table.
async function startUp(language) {
  const module = await createQuintaro({
    instantiateWasm(imports, receive) {
      WebAssembly.instantiate(wasm, imports).then(({ instance }) => receive(instance));
      return {};
    },
  });
  const core = wrapCore(module);
  for (const name of languageFiles) {
    core.putFile(name, readFileSync(join(site, name)));
  }
  if (language) {
    core.writeText("settings.ini", "lang", language);
  }
  const calls = {};
  module.frontend = new Proxy({}, {
    get: (_, method) => (method === "focusedControl" ? () => -1 : (...args) => {
      calls[method] = args;
    }),
  });
  module._quintaro_start();
  if (!calls.showNewGameDialog || !calls.useLanguage) {
    throw new Error(`the game started without its new-game dialog (language ${language ?? "default"})`);
  }
  return { code: calls.useLanguage[0] || "en", texts: calls.showNewGameDialog, layout: core.layout(2) };
}

const first = await startUp(null);
const texts = {};
for (const file of languageFiles) {
  const shown = await startUp(file.replace(/\.lang$/, ""));
  texts[shown.code] = shown.texts;
}
const dialog = newGameMarkup(first.layout.newGame, "start", first.texts)
  .replace("<dialog ", `<dialog id="start" data-texts="${JSON.stringify(texts).replace(/&/g, "&amp;").replace(/"/g, "&quot;")}" `);

const page = readFileSync(join(pageFolder, "index.html"), "utf8");
const style = readFileSync(join(pageFolder, "style.css"), "utf8");
const parts = [
  ['<html lang="en">', `<html lang="${first.code}">`],
  ['<link rel="stylesheet" href="style.css">', () => `<style>\n${style}</style>`],
  ["<!-- the new-game dialog -->", () => dialog],
];
let html = page;
for (const [marker, text] of parts) {
  if (!html.includes(marker)) {
    throw new Error(`${join(pageFolder, "index.html")}: no ${marker}`);
  }
  html = html.replace(marker, text);
}
writeFileSync(join(site, "index.html"), html);
