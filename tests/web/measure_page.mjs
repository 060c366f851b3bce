// Figures of the browser build (never a pass/fail test): what the page loads, when its first
// menu frame appears, and the game's own time per frame in a timed replay.
//   node measure_page.mjs BUILD_WEB_DIR DEMO_FILE [RUNS]
import path from "node:path";
import { serve, launch } from "./page_server.mjs";

const [webDir, demoFile, runsArg] = process.argv.slice(2);
const runs = Number(runsArg || 5);
const server = await serve([webDir, path.dirname(demoFile)]);
const browser = await launch();
const firstFrames = [];
let bytes = 0;
for (let i = 0; i < runs; ++i) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 960 } });
  const page = await context.newPage();
  const before = server.served.bytes;
  await page.goto(`${server.url}/zorvane.html`);
  await page.waitForFunction(() => window.zorvaneFirstFrameMs, null, { timeout: 30000 });
  firstFrames.push(await page.evaluate(() => window.zorvaneFirstFrameMs));
  bytes = server.served.bytes - before;
  await context.close();
}
firstFrames.sort((a, b) => a - b);
console.log(`page bytes ${bytes}`);
console.log(`first menu frame after navigation start, ms: median ${firstFrames[runs >> 1].toFixed(0)}, ` +
            `min ${firstFrames[0].toFixed(0)}, max ${firstFrames[runs - 1].toFixed(0)} (${runs} loads)`);

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
await browser.close();
server.close();
