// The browser build in Debian's headless Chromium: what the page loads, the menu and the game
// screen as a player sees them, every golden demo replayed to the same frames and sounds as the
// native build, a saved hi-score surviving a reload, and the player's settings: keys bound by
// place from the configuration text in local storage, volume remembered, screenshots downloaded.
//   node browser_test.mjs BUILD_WEB_DIR DEMOS_DIR [SCREENSHOT_DIR]
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";

import { serve, launch } from "./page_server.mjs";
import { GAME_KEYS, PHASES, canvasPixels, countColour, pictureAt, phase, startTestRun, drive } from "./page_tools.mjs";

const [webDir, demoDir, shotDir] = process.argv.slice(2);
const PAGE_FILES = ["zorvane.html", "zorvane.js", "zorvane.wasm", "zorvane.data"];
const PAGE_LIMIT_BYTES = 3 * 1000 * 1000;

// Text colours of the menu, exact entries of the game's palette.
const PALE_YELLOW = [255, 255, 100];
const PURPLE = [200, 0, 200];
const MAGENTA = [255, 0, 255];
const ORANGE = [250, 100, 0];

let server, browser;

before(async () => {
  assert.ok(webDir && demoDir, "usage: browser_test.mjs BUILD_WEB_DIR DEMOS_DIR [SCREENSHOT_DIR]");
  server = await serve([webDir, demoDir]);
  browser = await launch();
});

after(async () => {
  await browser?.close();
  server?.close();
});

// A fresh browser profile (nothing in storage), its page at the given size.
async function freshPage(width = 640, height = 480) {
  const context = await browser.newContext({ viewport: { width, height } });
  const page = await context.newPage();
  const errors = [];
  page.on("pageerror", (e) => errors.push(e.message));
  page.errors = errors;
  return page;
}

async function openGame(page, query = "") {
  await page.goto(`${server.url}/zorvane.html${query}`);
  await page.waitForFunction(() => window.zorvaneFirstFrameMs, null, { timeout: 30000 });
}

// A key pressed and let go as a player does it: quick, but not within one frame.
async function tap(page, key) {
  await page.keyboard.press(key);
  await page.waitForTimeout(100);
}

// Waits (up to 20 s, for a loaded machine) until the page's picture satisfies seen(picture).
async function waitForPicture(page, seen, what) {
  for (const end = Date.now() + 20000; Date.now() < end; await page.waitForTimeout(100)) {
    const picture = await canvasPixels(page);
    if (seen(picture)) return picture;
  }
  assert.fail(`the page never showed ${what}`);
}

const isGameScreen = (picture) => {
  const border = pictureAt(picture, 5, 240);
  return border[0] + border[1] + border[2] > 300 && String(pictureAt(picture, 473, 100)) === String(border);
};
const isHiscoreList = (picture) => countColour(picture, { x: 270, y: 70, w: 100, h: 12 }, ORANGE) > 100;

function shoot(page, name) {
  if (shotDir) return page.screenshot({ path: path.join(shotDir, `web-${name}.png`) });
}

// The label rows of the menu: five buttons 40 pixels apart, text from (300, 140).
function menuRowColours(picture, row) {
  const area = { x: 300, y: 140 + 40 * row, w: 80, h: 14 };
  return { highlight: countColour(picture, area, PALE_YELLOW), plain: countColour(picture, area, PURPLE) };
}

test("the page and everything it loads stay within 3 MB, each file fetched once", async () => {
  const page = await freshPage();
  const before = server.served.files.length;
  const start = server.served.bytes;
  await openGame(page);
  // The whole first visit: the service worker and what it keeps for the next one included.
  await page.waitForFunction(() => navigator.serviceWorker.controller, null, { timeout: 30000 });
  await page.waitForFunction(async (files) => {
    const names = await caches.keys();
    if (names.length !== 1) return false;
    const kept = (await (await caches.open(names[0])).keys()).map((r) => new URL(r.url).pathname.split("/").pop());
    return files.every((f) => kept.includes(f));
  }, PAGE_FILES, { timeout: 30000, polling: 100 });
  const loaded = server.served.bytes - start;
  const fetched = server.served.files.slice(before);
  for (const file of PAGE_FILES) assert.ok(fs.existsSync(path.join(webDir, file)), `${file} is built`);
  assert.ok(fetched.includes("sw.js"), "the service worker is part of the visit");
  // The worker keeps what the page fetches: only the start page is fetched again, by the worker.
  for (const file of PAGE_FILES)
    assert.equal(fetched.filter((f) => f === file).length, file === "zorvane.html" ? 2 : 1, `${file} is fetched once`);
  assert.ok(loaded <= PAGE_LIMIT_BYTES, `the page loaded ${loaded} bytes`);
  const firstFrame = await page.evaluate(() => window.zorvaneFirstFrameMs);
  console.log(`# page bytes ${loaded} (${fetched.join(" ")}), first frame ${Math.round(firstFrame)} ms after the page began loading`);
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test("menu, game screen and back, played with the keyboard", async () => {
  const page = await freshPage();
  await openGame(page, "?args=--seed%203");
  await shoot(page, "menu");
  let picture = await canvasPixels(page);
  // The title at the top, "New Game" chosen: its label pale yellow, the others purple.
  assert.ok(countColour(picture, { x: 280, y: 0, w: 180, h: 24 }, null) > 400, "the title is drawn");
  const rows = [0, 1, 2, 3, 4].map((row) => menuRowColours(picture, row));
  assert.ok(rows[1].highlight > 40 && rows[1].plain === 0, `New Game is highlighted: ${JSON.stringify(rows)}`);
  for (const row of [0, 2, 3, 4]) assert.ok(rows[row].plain > 40 && rows[row].highlight === 0, `row ${row} is plain`);
  // No sound before the first key press (browsers forbid it); the game's keys are the game's
  // alone (no scrolling on arrows or Space), while other keys keep their browser meaning.
  assert.equal(await page.evaluate(() => Boolean(Module.zorvaneAudio)), false);
  await page.evaluate(() => {
    window.keysTaken = {};
    window.addEventListener("keydown", (e) => { window.keysTaken[e.code] = e.defaultPrevented; });
  });
  await tap(page, "ArrowDown");
  await waitForPicture(page, (p) => menuRowColours(p, 2).highlight > 40, "Hi-Scores chosen");
  await tap(page, "ArrowUp");
  await waitForPicture(page, (p) => menuRowColours(p, 1).highlight > 40, "New Game chosen again");
  for (const key of ["Space", "KeyR"]) await tap(page, key);
  assert.deepEqual(await page.evaluate(() => window.keysTaken),
                   { ArrowDown: true, ArrowUp: true, Space: true, KeyR: false });
  await page.waitForFunction(() => Module.zorvaneAudio.state === "running", null, { timeout: 20000 });
  // What the mixer hands Web Audio, watched from here on: the new game's sounds must reach it.
  await page.evaluate(() => {
    const mix = Module._zorvane_audio_mix;
    window.loudest = 0;
    Module._zorvane_audio_mix = (frames) => {
      const at = mix(frames);
      for (let i = 0; i < 2 * frames; ++i) window.loudest = Math.max(window.loudest, Math.abs(Module.HEAP16[(at >> 1) + i]));
      return at;
    };
  });

  await tap(page, "Enter");
  picture = await waitForPicture(page, isGameScreen, "the game screen");
  await shoot(page, "game");
  await page.waitForFunction(() => window.loudest > 1000, null, { timeout: 20000 });  // the game's sounds
  // The playfield's border: columns 5 and 473 and rows 5 and 473 of one bright colour.
  const border = pictureAt(picture, 5, 240);
  assert.ok(border[0] + border[1] + border[2] > 300, `the border is bright: ${border}`);
  for (const [x, y] of [[473, 100], [473, 400], [100, 5], [300, 473], [5, 60], [5, 420]])
    assert.deepEqual(pictureAt(picture, x, y), border, `border at ${x},${y}`);
  // The panel at the right: the title and the life icons.
  assert.ok(countColour(picture, { x: 500, y: 0, w: 140, h: 24 }, null) > 400, "the panel's title is drawn");
  assert.ok(countColour(picture, { x: 480, y: 140, w: 160, h: 40 }, null) > 100, "the panel shows the lives");

  // Esc leaves the game for the menu, "New Game" still chosen.
  await tap(page, "Escape");
  await waitForPicture(page, (p) => menuRowColours(p, 1).highlight > 40, "the menu again after Esc");
  await shoot(page, "menu-after-esc");
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test("the picture fills a wide window at 4:3, centred", async () => {
  const page = await freshPage(1280, 600);
  await openGame(page);
  const box = await page.evaluate(() => {
    const r = document.getElementById("screen").getBoundingClientRect();
    return { x: r.x, y: r.y, w: r.width, h: r.height };
  });
  assert.deepEqual(box, { x: 240, y: 0, w: 800, h: 600 });
  await shoot(page, "wide");
  await page.context().close();
});

test("every golden demo replays to the native build's frames and sounds", async () => {
  const page = await freshPage();
  await page.goto(`${server.url}/zorvane.html?test`);
  await page.waitForFunction(() => window.zorvaneReady, null, { timeout: 30000 });
  const demos = fs.readdirSync(demoDir).filter((f) => f.endsWith(".zdemo")).sort();
  assert.ok(demos.length >= 8, "the golden demos are there");
  for (const demo of demos) {
    const expected = fs.readFileSync(path.join(demoDir, demo.replace(/\.zdemo$/, ".expected")), "utf8");
    const report = await page.evaluate(async (name) => {
      const bytes = new Uint8Array(await (await fetch(name)).arrayBuffer());
      Module.FS.writeFile("/" + name, bytes);
      return Module.ccall("zorvane_test_replay", "string", ["string"], ["/" + name]);
    }, demo);
    // The native report: exit status, frames, sounds (the milestones come from the test's watcher).
    const native = expected.slice(expected.indexOf("exit "), expected.indexOf("milestones "));
    if (report !== native) {
      const a = report.split("\n"), b = native.split("\n");
      const line = a.findIndex((l, i) => l !== b[i]);
      assert.fail(`${demo}: the browser differs from line ${line + 1}: "${a[line]}" instead of "${b[line]}"`);
    }
  }
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test("a saved hi-score survives a reload", async () => {
  const page = await freshPage();
  // A live run with a fixed seed, driven key by key: a new game, a small claim for a score,
  // lives lost to the Fuse (a line started and left standing) until the initials entry, the
  // initial Z, and the table saved.
  await page.goto(`${server.url}/zorvane.html?test&args=--seed%203`);
  await page.waitForFunction(() => window.zorvaneReady, null, { timeout: 30000 });
  assert.equal(await startTestRun(page), -1);
  const K = GAME_KEYS;
  await drive(page, 0, 5);
  await drive(page, K.ENTER, 1);
  await drive(page, 0, 10);
  for (const [keys, passes] of [[K.CTRL | K.UP, 10], [K.CTRL | K.LEFT, 10], [K.CTRL | K.DOWN, 12], [0, 30]])
    await drive(page, keys, passes);
  for (let tries = 0; (await phase(page)) !== PHASES.HISCORE_ENTRY; ++tries) {
    assert.ok(tries < 12, `the game reaches the initials entry (phase ${await phase(page)})`);
    await drive(page, K.CTRL | K.UP, 8);
    await drive(page, K.CTRL, 120);
    if ((await phase(page)) === PHASES.LIFE_LOST) await drive(page, K.SPACE, 1);
    await drive(page, 0, 5);
  }
  await drive(page, 0, 10);
  await drive(page, K.DOWN, 1);
  await drive(page, 0, 5);
  await drive(page, K.ENTER, 1);
  await drive(page, 0, 30);
  const saved = await page.evaluate(() => window.localStorage.getItem("zorvane/scores.dat"));
  assert.ok(saved && saved.includes("Z"), `the table is in the browser's storage: ${JSON.stringify(saved)}`);

  // Reloaded and played for real: the hi-score list shows the table that was saved.
  await openGame(page);
  await tap(page, "ArrowDown");
  await waitForPicture(page, (p) => menuRowColours(p, 2).highlight > 40, "Hi-Scores chosen");
  await tap(page, "Enter");
  const kept = await waitForPicture(page, isHiscoreList, "the hi-score list");
  await shoot(page, "hiscores");

  // The same list in a profile that never saved anything looks different.
  const other = await freshPage();
  await openGame(other);
  await tap(other, "ArrowDown");
  await waitForPicture(other, (p) => menuRowColours(p, 2).highlight > 40, "Hi-Scores chosen");
  await tap(other, "Enter");
  const empty = await waitForPicture(other, isHiscoreList, "the hi-score list");
  // The first row of the list: the initials in magenta where the empty table has a dash.
  const firstRow = { x: 250, y: 118, w: 200, h: 20 };
  const initials = countColour(kept, firstRow, MAGENTA), dash = countColour(empty, firstRow, MAGENTA);
  assert.ok(initials > dash + 40, `the saved row is on the list after the reload (${initials} against ${dash})`);
  assert.equal(await page.evaluate(() => window.localStorage.getItem("zorvane/scores.dat")), saved);
  assert.deepEqual(page.errors, []);
  await other.context().close();
  await page.context().close();
});

// The indices and palette of an indexed PNG as the game writes it, as RGBA.
function pngPixels(bytes) {
  let at = 8, width = 0, height = 0, palette = null;
  const idat = [];
  while (at < bytes.length) {
    const n = bytes.readUInt32BE(at), type = bytes.toString("latin1", at + 4, at + 8), data = bytes.subarray(at + 8, at + 8 + n);
    if (type === "IHDR") [width, height] = [data.readUInt32BE(0), data.readUInt32BE(4)];
    if (type === "PLTE") palette = data;
    if (type === "IDAT") idat.push(data);
    at += 12 + n;
  }
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const data = new Uint8Array(width * height * 4);
  for (let y = 0; y < height; ++y)
    for (let x = 0; x < width; ++x) {
      const index = raw[y * (width + 1) + 1 + x];
      data.set([palette[3 * index], palette[3 * index + 1], palette[3 * index + 2], 255], (y * width + x) * 4);
    }
  return { width, height, data };
}

test("settings from local storage: keys by place, volume remembered, screenshots downloaded", async () => {
  const page = await freshPage();
  await openGame(page, "?args=--seed%203");
  await page.evaluate(() => window.localStorage.setItem("zorvane/zorvane.toml",
                                                        '[keys]\nslow = ["KeyZ"]\n[sound]\nvolume = 50\n'));
  await openGame(page, "?args=--seed%203");
  // The volume keys: a notice over the picture, and the choice in storage.
  const notice = { x: 12, y: 12, w: 110, h: 22 };
  const before = countColour(await canvasPixels(page), notice, [255, 255, 255]);
  await tap(page, "Minus");
  await waitForPicture(page, (p) => countColour(p, notice, [255, 255, 255]) > before + 30, "the volume notice");
  await page.waitForFunction(() => (window.localStorage.getItem("zorvane/state.toml") || "").includes("volume = 40"),
                             null, { timeout: 20000 });
  // Gone again after about a second and a half.
  await waitForPicture(page, (p) => countColour(p, notice, [255, 255, 255]) === before, "the notice gone");
  // Mute silences what the mixer hands Web Audio; M again brings the sound back.
  await page.waitForFunction(() => Module.zorvaneAudio && Module.zorvaneAudio.state === "running", null, { timeout: 20000 });
  await page.evaluate(() => {
    const mix = Module._zorvane_audio_mix;
    window.loudest = 0;
    Module._zorvane_audio_mix = (frames) => {
      const at = mix(frames);
      for (let i = 0; i < 2 * frames; ++i) window.loudest = Math.max(window.loudest, Math.abs(Module.HEAP16[(at >> 1) + i]));
      return at;
    };
  });
  await tap(page, "KeyM");
  await page.waitForTimeout(500);
  await page.evaluate(() => { window.loudest = 0; });
  for (const key of ["ArrowDown", "ArrowUp", "ArrowDown", "ArrowUp"]) await tap(page, key);
  await page.waitForTimeout(500);
  assert.equal(await page.evaluate(() => window.loudest), 0, "muted: the menu's sounds are silent");
  await tap(page, "KeyM");
  for (const key of ["ArrowDown", "ArrowUp"]) await tap(page, key);
  await page.waitForFunction(() => window.loudest > 100, null, { timeout: 20000 });
  await page.waitForFunction(() => window.localStorage.getItem("zorvane/state.toml").includes("muted = false"),
                             null, { timeout: 20000 });
  // Reloaded, the game starts from the volume it left (one more step: 30).
  await openGame(page, "?args=--seed%203");
  await tap(page, "NumpadSubtract");
  await page.waitForFunction(() => window.localStorage.getItem("zorvane/state.toml").includes("volume = 30"),
                             null, { timeout: 20000 });
  // The screenshot key downloads the frame the game drew, exactly (on the still about screen).
  for (const key of ["ArrowDown", "ArrowDown", "Enter"]) await tap(page, key);
  await page.waitForTimeout(500);
  const download = page.waitForEvent("download", { timeout: 20000 });
  await tap(page, "F12");
  const file = await download;
  assert.match(file.suggestedFilename(), /^zorvane-\d{8}-\d{6}\.png$/);
  const shot = pngPixels(fs.readFileSync(await file.path()));
  assert.equal(shot.width, 640);
  assert.equal(shot.height, 480);
  // Once the notice naming the file is gone, the canvas shows exactly the PNG's pixels.
  await waitForPicture(page, (p) => Buffer.compare(Buffer.from(p.data), Buffer.from(shot.data)) === 0,
                       "the screenshot's frame once its notice is gone");
  // KeyZ draws slowly, Ctrl no longer does.
  await tap(page, "Escape");
  await waitForPicture(page, (p) => menuRowColours(p, 3).highlight > 40, "the menu again, on About");
  for (const key of ["ArrowUp", "ArrowUp"]) await tap(page, key);
  await waitForPicture(page, (p) => menuRowColours(p, 1).highlight > 40, "New Game chosen");
  await tap(page, "Enter");
  await waitForPicture(page, isGameScreen, "the game screen");
  const STIX = [255, 48, 96];
  const column = { x: 310, y: 380, w: 20, h: 90 };
  await page.keyboard.down("ControlLeft");
  await page.keyboard.down("ArrowUp");
  await page.waitForTimeout(600);
  await page.keyboard.up("ArrowUp");
  await page.keyboard.up("ControlLeft");
  assert.equal(countColour(await canvasPixels(page), column, STIX), 0, "Ctrl draws no stix");
  await page.keyboard.down("KeyZ");
  await page.keyboard.down("ArrowUp");
  await waitForPicture(page, (p) => countColour(p, column, STIX) > 3, "a stix drawn with Z");
  await page.keyboard.up("ArrowUp");
  await page.keyboard.up("KeyZ");
  // Alt+Enter asks the browser for full screen, and leaves it again.
  await page.keyboard.press("Alt+Enter");
  await page.waitForFunction(() => document.fullscreenElement !== null, null, { timeout: 20000 });
  await page.keyboard.press("Alt+Enter");
  await page.waitForFunction(() => document.fullscreenElement === null, null, { timeout: 20000 });
  assert.deepEqual(page.errors, []);
  await page.context().close();
});
