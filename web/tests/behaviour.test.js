// The behaviour every edition shares (tests/behaviour/cases.txt), played in the page through
// real keys and clicks.
import { test, before, after } from "node:test";
import { launch, startServer, watchErrors } from "./support.js";
import { WebDriver, behaviourCases, runCase } from "./driver.js";
import assert from "node:assert/strict";

let server;
let browser;

before(async () => {
  server = await startServer();
  browser = await launch();
});
after(async () => {
  await browser?.close();
  server?.server.close();
});

for (const behaviour of behaviourCases()) {
  test(behaviour.name, async () => {
    const page = await browser.newPage();
    await page.setViewport({ width: 1000, height: 600 });
    const errors = watchErrors(page);
    try {
      await runCase(new WebDriver(page, server.url, behaviour.name), behaviour);
      assert.deepEqual(errors, [], `${behaviour.name}: page errors`);
    } finally {
      await page.close();
    }
  });
}
