// The behaviour every edition shares (tests/behaviour/cases.txt), played in the page through
// real keys and clicks.
import { test } from "node:test";
import { watchErrors, sharedBrowser } from "./support.js";
import { WebDriver, behaviourCases, runCase } from "./driver.js";
import assert from "node:assert/strict";

const shared = sharedBrowser();

for (const behaviour of behaviourCases()) {
  test(behaviour.name, async () => {
    const page = await shared.browser.newPage();
    await page.setViewport({ width: 1000, height: 600 });
    const errors = watchErrors(page);
    try {
      await runCase(new WebDriver(page, shared.server.url, behaviour.name), behaviour);
      assert.deepEqual(errors, [], `${behaviour.name}: page errors`);
    } finally {
      await page.close();
    }
  });
}
