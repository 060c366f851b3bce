// Figures of the browser build (never a pass/fail test): what the page loads, when its first
// menu frame appears, the game's own time per frame in a timed replay, and the CPU the browser
// spends on the page (--cpu-only: that alone).
//   node measure_page.mjs BUILD_WEB_DIR DEMO_FILE [RUNS] [--cpu-only]
import path from "node:path";
import { serve, launch, browserShare } from "./page_server.mjs";

const [webDir, demoFile, runsArg, only] = process.argv.slice(2);
const runs = Number(runsArg || 5);
const server = await serve([webDir, path.dirname(demoFile)]);
const browser = await launch();
if (only !== "--cpu-only") {
  const firstFrames = [], cachedFrames = [];
  let bytes = 0;
  for (let i = 0; i < runs; ++i) {
    const context = await browser.newContext({ viewport: { width: 1280, height: 960 } });
    const page = await context.newPage();
    const before = server.served.bytes;
    await page.goto(`${server.url}/zorvane.html`);
    await page.waitForFunction(() => window.zorvaneFirstFrameMs, null, { timeout: 30000 });
    firstFrames.push(await page.evaluate(() => window.zorvaneFirstFrameMs));
    // The first visit is over when the service worker keeps the page for the next one.
    await page.waitForFunction(async () => {
      const names = await caches.keys();
      return names.length === 1 && (await (await caches.open(names[0])).keys()).length >= 4;
    }, null, { timeout: 30000, polling: 100 });
    bytes = server.served.bytes - before;
    // The next visit starts from the worker's cache.
    await page.reload();
    await page.waitForFunction(() => window.zorvaneFirstFrameMs, null, { timeout: 30000 });
    cachedFrames.push(await page.evaluate(() => window.zorvaneFirstFrameMs));
    await context.close();
  }
  const spread = (list) => {
    list.sort((a, b) => a - b);
    return `median ${list[runs >> 1].toFixed(0)}, min ${list[0].toFixed(0)}, max ${list[runs - 1].toFixed(0)} (${runs} loads)`;
  };
  console.log(`page bytes ${bytes} (first visit, service worker included)`);
  console.log(`first menu frame after navigation start, ms: ${spread(firstFrames)}`);
  console.log(`first menu frame on a later visit (from the worker's cache), ms: ${spread(cachedFrames)}`);

  const page = await browser.newPage();
  await page.goto(`${server.url}/zorvane.html?test`);
  await page.waitForFunction(() => window.zorvaneReady, null, { timeout: 30000 });
  const name = path.basename(demoFile);
  const times = [];
  for (let i = 0; i < runs; ++i) {
    times.push(await page.evaluate(async (name) => {
      const bytes = new Uint8Array(await (await fetch(name)).arrayBuffer());
      Module.FS.writeFile("/" + name, bytes);
      return Module.ccall("zorvane_test_timedemo", "string", ["string"], ["/" + name]);
    }, name));
  }
  for (const t of times) {
    const [, frames, , ms] = t.split(" ");
    console.log(`timed replay of ${name}: ${frames} frames in ${Number(ms).toFixed(1)} ms, ` +
                `${(1000 * Number(ms) / Number(frames)).toFixed(0)} us a frame`);
  }
}

await browser.close();

// CPU of the whole browser (every process of it) over 30 s: the menu left alone, and a game
// with an arrow key held; a fresh browser for each of three runs, the median and the range.
const cpuRuns = 3, cpuSeconds = 30;
const shares = { menu: [], game: [] };
for (let run = 0; run < cpuRuns; ++run) {
  const fresh = await launch();
  const live = await fresh.newPage({ viewport: { width: 640, height: 480 } });
  await live.goto(`${server.url}/zorvane.html?args=--seed%203`);
  await live.waitForFunction(() => window.zorvaneFirstFrameMs, null, { timeout: 30000 });
  await live.waitForTimeout(2000);
  shares.menu.push(await browserShare(live, cpuSeconds));
  await live.keyboard.press("Enter");
  await live.waitForTimeout(2000);
  await live.keyboard.down("ArrowLeft");
  shares.game.push(await browserShare(live, cpuSeconds));
  await live.keyboard.up("ArrowLeft");
  console.log(`run ${run + 1}: menu ${shares.menu[run].toFixed(1)} %, game ${shares.game[run].toFixed(1)} % of a core`);
  await fresh.close();
}
for (const [what, list] of [["menu", shares.menu], ["game, an arrow held", shares.game]]) {
  list.sort((a, b) => a - b);
  console.log(`${what}, 640x480 page: median ${list[cpuRuns >> 1].toFixed(1)} % of a core (${list[0].toFixed(1)}-` +
              `${list[cpuRuns - 1].toFixed(1)}, ${cpuRuns} runs of ${cpuSeconds} s, all of Chromium)`);
}
server.close();
