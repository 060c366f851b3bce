// Figures of the browser build (never a pass/fail test): what the page loads, when its first
// menu frame appears, and the game's own time per frame in a timed replay.
//   node measure_page.mjs BUILD_WEB_DIR DEMO_FILE [RUNS]
import fs from "node:fs";
import path from "node:path";
import { serve, launch } from "./page_server.mjs";

const [webDir, demoFile, runsArg] = process.argv.slice(2);
const runs = Number(runsArg || 5);
const server = await serve([webDir, path.dirname(demoFile)]);
const browser = await launch();
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
// CPU of the whole browser (every chromium process) over ten seconds: the menu left alone, and
// a game with an arrow key held.
function chromiumTicks() {
  let ticks = 0;
  for (const pid of fs.readdirSync("/proc").filter((d) => /^\d+$/.test(d))) {
    try {
      if (!fs.readFileSync(`/proc/${pid}/comm`, "utf8").startsWith("chromium")) continue;
      const fields = fs.readFileSync(`/proc/${pid}/stat`, "utf8").split(") ")[1].split(" ");
      ticks += Number(fields[11]) + Number(fields[12]);  // utime, stime
    } catch {
      // the process has ended
    }
  }
  return ticks;
}
async function cpuShare(page, seconds) {
  const before = chromiumTicks(), start = Date.now();
  await page.waitForTimeout(seconds * 1000);
  const CLOCK_TICKS_PER_SECOND = 100;
  const busy = (chromiumTicks() - before) / CLOCK_TICKS_PER_SECOND;
  return 100 * busy / ((Date.now() - start) / 1000);
}
const live = await browser.newPage({ viewport: { width: 640, height: 480 } });
await live.goto(`${server.url}/zorvane.html?args=--seed%203`);
await live.waitForFunction(() => window.zorvaneFirstFrameMs, null, { timeout: 30000 });
console.log(`menu, 640x480 page: ${(await cpuShare(live, 10)).toFixed(1)} % of a core (all of Chromium)`);
await live.keyboard.press("Enter");
await live.waitForTimeout(500);
await live.keyboard.down("ArrowLeft");
console.log(`game, an arrow held, 640x480 page: ${(await cpuShare(live, 10)).toFixed(1)} % of a core (all of Chromium)`);
await live.keyboard.up("ArrowLeft");
await browser.close();
server.close();
