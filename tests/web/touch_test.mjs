// The page on phones and tablets: touch controls laid out beside the picture, a game played by
// real touch events alone (several fingers at once), and the installable, offline page: its
// manifest and icons, the service worker's cache, and a start with the network gone.
//   node touch_test.mjs BUILD_WEB_DIR [SCREENSHOT_DIR]
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";

import { serve, launch } from "./page_server.mjs";
import { Fingers, controlBoxes, frameAreas } from "./page_tools.mjs";

const [webDir, shotDir] = process.argv.slice(2);
const PAGE_FILES = ["zorvane.html", "zorvane.js", "zorvane.wasm", "zorvane.data"];

const PHONE_LANDSCAPE = { width: 844, height: 390 };
const PHONE_PORTRAIT = { width: 390, height: 844 };
const TABLET_LANDSCAPE = { width: 1024, height: 768 };
const TABLET_PORTRAIT = { width: 768, height: 1024 };
const SMALL_PHONE = { width: 568, height: 320 };

// Colours of the game's palette.
const STIX = [255, 48, 96];
const PALE_YELLOW = [255, 255, 100];
const PURPLE = [200, 0, 200];
const WHITE = [255, 255, 255];

let server, browser;

before(async () => {
  assert.ok(webDir, "usage: touch_test.mjs BUILD_WEB_DIR [SCREENSHOT_DIR]");
  server = await serve([webDir]);
  browser = await launch();
});

after(async () => {
  await browser?.close();
  server?.close();
});

// A phone or tablet: touch screen, mobile viewport, three device pixels to the CSS pixel.
async function touchPage(viewport, scale = 3) {
  const context = await browser.newContext({ viewport, hasTouch: true, isMobile: true, deviceScaleFactor: scale });
  const page = await context.newPage();
  page.errors = [];
  page.on("pageerror", (e) => page.errors.push(e.message));
  page.fingers = new Fingers(await context.newCDPSession(page));
  return page;
}

async function openGame(page, url = server.url, query = "?args=--seed%203") {
  await page.goto(`${url}/zorvane.html${query}`);
  await page.waitForFunction(() => window.zorvaneFirstFrameMs, null, { timeout: 30000 });
}

// Waits (up to 30 s, for a loaded machine) until the game's frame satisfies seen(areas found).
async function waitForFrame(page, areas, seen, what, timeout = 30000) {
  for (const end = Date.now() + timeout; Date.now() < end; await page.waitForTimeout(30)) {
    const found = await frameAreas(page, areas);
    if (seen(found)) return found;
  }
  assert.fail(`the game never showed ${what}`);
}

const PLAYFIELD_INSIDE = { x: 6, y: 6, w: 467, h: 467 };
const isGameScreen = ([border]) => border.count > 400;
const GAME_BORDER = { x: 5, y: 5, w: 1, h: 469, colour: null };
// The menu's rows of labels: five buttons 40 pixels apart, text from (300, 140).
const menuRow = (row, colour) => ({ x: 300, y: 140 + 40 * row, w: 80, h: 14, colour });

function centre(b) {
  return { x: b.x + b.w / 2, y: b.y + b.h / 2 };
}

function overlaps(a, b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// The parts of the 640x480 picture no control may cover, in CSS pixels of the page.
function keepClear(screen) {
  const sx = screen.w / 640, sy = screen.h / 480;
  const area = (x0, y0, x1, y1) => ({ x: screen.x + x0 * sx, y: screen.y + y0 * sy, w: (x1 - x0) * sx, h: (y1 - y0) * sy });
  return { playfield: area(5, 5, 474, 474), "score column": area(480, 0, 640, 120) };
}

function shoot(page, name) {
  if (shotDir) return page.screenshot({ path: path.join(shotDir, `web-${name}.png`), scale: "css" });
}

test("touch controls beside the picture on phones and tablets, never over the playfield or the score column", async () => {
  for (const [name, viewport] of Object.entries({ "phone-landscape": PHONE_LANDSCAPE, "phone-portrait": PHONE_PORTRAIT,
                                                  "tablet-landscape": TABLET_LANDSCAPE, "tablet-portrait": TABLET_PORTRAIT,
                                                  "small-phone": SMALL_PHONE })) {
    const page = await touchPage(viewport, name.startsWith("tablet") ? 2 : 3);
    await openGame(page);
    const { screen, controls } = await controlBoxes(page);
    // The picture: 4:3, whole on the screen, as large as the controls leave room for.
    assert.ok(Math.abs(screen.w * 3 - screen.h * 4) <= 4, `${name}: the picture is 4:3 (${screen.w}x${screen.h})`);
    assert.ok(screen.x >= 0 && screen.y >= 0 && screen.x + screen.w <= viewport.width && screen.y + screen.h <= viewport.height,
              `${name}: the picture is on the screen`);
    const landscape = viewport.width > viewport.height;
    assert.ok(landscape ? screen.h >= 0.66 * viewport.height : screen.w >= 0.95 * viewport.width,
              `${name}: the picture is large (${screen.w}x${screen.h})`);
    for (const control of ["stick", "slow", "fast", "cancel", "ok", "pause", "menu", "mute", "fullscreen"]) {
      const box = controls[control];
      assert.ok(box && box.shown && box.w >= 40 && box.h >= 40, `${name}: ${control} is shown, large enough for a finger`);
      assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.w <= viewport.width && box.y + box.h <= viewport.height,
                `${name}: ${control} is on the screen`);
      for (const [part, area] of Object.entries(keepClear(screen)))
        assert.ok(!overlaps(box, area), `${name}: ${control} ${JSON.stringify(box)} covers the ${part} ${JSON.stringify(area)}`);
      for (const [other, b] of Object.entries(controls))
        if (other !== control) assert.ok(!overlaps(box, b), `${name}: ${control} and ${other} overlap`);
    }
    // The left thumb steers, the right one draws: in landscape they sit either side of the picture.
    if (landscape) {
      assert.ok(controls.stick.x + controls.stick.w <= screen.x, `${name}: the stick is left of the picture`);
      for (const b of ["slow", "fast", "cancel", "ok"])
        assert.ok(controls[b].x >= screen.x + screen.w, `${name}: ${b} is right of the picture`);
    } else {
      for (const b of ["stick", "slow", "fast", "cancel", "ok"])
        assert.ok(controls[b].y >= screen.y + screen.h, `${name}: ${b} is under the picture`);
    }
    if (["phone-portrait", "tablet-landscape"].includes(name)) await shoot(page, name);
    // A key typed: the player has a keyboard, the controls go and the picture fills the window.
    await page.keyboard.press("ArrowDown");
    await page.waitForFunction(() => !document.getElementById("controls").classList.contains("shown"));
    const typed = await controlBoxes(page);
    assert.equal(typed.controls.stick.w, 0, `${name}: the controls are hidden after a key`);
    assert.ok(typed.screen.w >= screen.w, `${name}: the picture takes the room back`);
    assert.deepEqual(page.errors, []);
    await page.context().close();
  }
  // A desktop browser without touch shows none, and the picture fills the window as before.
  const context = await browser.newContext({ viewport: { width: 1280, height: 600 } });
  const page = await context.newPage();
  await openGame(page);
  const { screen, controls } = await controlBoxes(page);
  for (const [control, box] of Object.entries(controls)) assert.equal(box.shown, false, `${control} is hidden on a desktop`);
  assert.deepEqual(screen, { x: 240, y: 0, w: 800, h: 600, shown: true });
  await context.close();
});

test("a game played by touch alone: a claim with two thumbs, a pinch, cancelled touches, the initials", async () => {
  const page = await touchPage(PHONE_LANDSCAPE);
  // What the page hands the game, and every cancelled pointer.
  await page.addInitScript(() => {
    window.persistAsked = 0;
    if (navigator.storage) navigator.storage.persist = () => { ++window.persistAsked; return Promise.resolve(true); };
    window.pointerCancels = 0;
    window.addEventListener("pointercancel", () => ++window.pointerCancels, true);
  });
  await openGame(page);
  const { controls } = await controlBoxes(page);
  const f = page.fingers;
  const at = (name) => centre(controls[name]);
  const stick = at("stick");
  const STICK_PUSH = 36;
  const steer = (dx, dy) => f.move(2, stick.x + dx, stick.y + dy);
  const held = () => page.evaluate(() => window.zorvaneTouchMask);
  // Moves reach the page with its next animation frame: wait until the game holds the actions.
  const expectHeld = async (names, what) => {
    const ok = await page.waitForFunction((names) => {
      const want = names.reduce((m, n) => m | Module.ccall("zorvane_touch_action", "number", ["string"], [n]), 0);
      return window.zorvaneTouchMask === want;
    }, names, { timeout: 10000 }).then(() => true, () => false);
    assert.ok(ok, `${what || names.join(" and ")} held (mask ${await held()})`);
  };

  // No sound until the first touch (browsers forbid it); OK starts a game.
  assert.equal(await page.evaluate(() => Boolean(Module.zorvaneAudio)), false);
  await f.tap(1, at("ok").x, at("ok").y);
  await page.waitForFunction(() => Module.zorvaneAudio && Module.zorvaneAudio.state === "running", null, { timeout: 20000 })
    .catch(() => assert.fail("the first touch starts the sound"));
  assert.equal(await page.evaluate(() => window.persistAsked), 1, "the page asks to keep its storage");
  await waitForFrame(page, [GAME_BORDER], isGameScreen, "the game screen");
  const SCORE = { x: 568, y: 24, w: 72, h: 11, colour: null };
  const [scoreAtStart, openAtStart] = await frameAreas(page, [SCORE, { ...PLAYFIELD_INSIDE, colour: null }]);

  // Slow draw held by the right thumb while the left one steers up, across and down.
  const STIX_AREA = { ...PLAYFIELD_INSIDE, colour: STIX };
  await f.down(1, at("slow").x, at("slow").y);
  await f.down(2, stick.x, stick.y);
  await steer(0, -STICK_PUSH);
  await expectHeld(["slow", "up"]);
  assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll(".lit")].map((e) => e.dataset.control).sort()),
                   ["slow", "stick"], "the pressed controls light up");
  await waitForFrame(page, [STIX_AREA], ([s]) => s.y1 - s.y0 >= 24, "a stix going up");
  // A two-finger spread over the picture: the page does not zoom and the steering stays held.
  const picture = (await controlBoxes(page)).screen;
  const mid = centre(picture);
  await f.down(3, mid.x - 10, mid.y);
  await f.down(4, mid.x + 10, mid.y);
  for (let step = 1; step <= 8; ++step) {
    await f.move(3, mid.x - 10 - 12 * step, mid.y - 4 * step);
    await f.move(4, mid.x + 10 + 12 * step, mid.y + 4 * step);
  }
  await f.up(3);
  await f.up(4);
  await shoot(page, "phone-landscape");
  assert.equal(await page.evaluate(() => window.visualViewport.scale), 1, "the page is not zoomed");
  assert.equal(await page.evaluate(() => window.pointerCancels), 0, "no touch was taken away");
  await expectHeld(["slow", "up"], "steering and drawing still");
  await steer(-STICK_PUSH, 0);
  await expectHeld(["slow", "left"]);
  const [path] = await waitForFrame(page, [STIX_AREA], ([s]) => s.x1 - s.x0 >= 24, "the stix going left");
  await steer(0, STICK_PUSH);
  const [score, claim] = await waitForFrame(page, [SCORE, STIX_AREA], ([sc, s]) => s.count === 0 && sc.pattern !== scoreAtStart.pattern,
                                            "the claim closed and scored");
  await f.up(2);
  await f.up(1);
  await expectHeld([], "nothing");
  // The claimed ground (inside the stix's path) shows the picture beneath.
  const inside = { x: path.x0 + 2, y: path.y0 + 2, w: path.x1 - path.x0 - 3, h: 473 - path.y0 - 3, colour: null };
  const [revealed] = await frameAreas(page, [inside]);
  assert.ok(inside.w > 10 && inside.h > 10 && revealed.count > 0.5 * inside.w * inside.h,
            `the claim shows the picture: ${revealed.count} of ${inside.w}x${inside.h} (before: ${openAtStart.count} in the whole field)`);
  assert.ok(score.count > 0 && claim.count === 0);

  // Every touch taken away by the system (touchCancel) lets go of everything.
  await f.down(1, at("slow").x, at("slow").y);
  await f.down(2, stick.x, stick.y);
  await steer(STICK_PUSH, 0);
  await expectHeld(["slow", "right"]);
  await f.cancel();
  await expectHeld([], "after a cancel, nothing");
  assert.equal(await page.evaluate(() => document.querySelectorAll(".lit").length), 0, "nothing lights after a cancel");
  // The window losing the focus lets go as well (and pauses the game); the pause button resumes.
  const PAUSED_TEXT = { x: 220, y: 230, w: 100, h: 12, colour: WHITE };
  await f.down(1, at("slow").x, at("slow").y);
  await expectHeld(["slow"]);
  await page.evaluate(() => window.dispatchEvent(new Event("blur")));
  await expectHeld([], "after the focus is lost, nothing");
  await f.up(1);
  await page.evaluate(() => window.dispatchEvent(new Event("focus")));
  await waitForFrame(page, [PAUSED_TEXT], ([p]) => p.count > 30, "the game paused");
  await f.tap(1, at("pause").x, at("pause").y);
  await waitForFrame(page, [PAUSED_TEXT], ([p]) => p.count === 0, "the game resumed by the pause button");

  // Lives lost to the Fuse (a stix started and left standing), each next life readied with the
  // cancel button, until the game is over and asks for the initials. The stick is touched only
  // while the game plays, so no letter moves before the entry.
  const ENTRY_TEXT = { x: 120, y: 40, w: 400, h: 14, colour: PALE_YELLOW };
  const LOST_TEXT = { x: 120, y: 230, w: 300, h: 12, colour: WHITE };
  const READY_TEXT = { x: 120, y: 250, w: 300, h: 12, colour: WHITE };
  let drawing = false;
  for (let looks = 0; ; ++looks) {
    assert.ok(looks < 3000, "the game ends after five lives");
    const [entry, lost, ready, stix] = await frameAreas(page, [ENTRY_TEXT, LOST_TEXT, READY_TEXT, STIX_AREA]);
    if (entry.count > 50) break;
    if (ready.count > 50) {
      await f.down(5, at("cancel").x, at("cancel").y);
      await waitForFrame(page, [READY_TEXT], ([r]) => r.count === 0, "the next life");
      await f.up(5);
    } else if (lost.count > 50) {
      for (const id of [...f.points.keys()]) await f.up(id);
      drawing = false;
      await page.waitForTimeout(30);
    } else if (!drawing) {
      drawing = true;
      await f.down(1, at("slow").x, at("slow").y);
      await f.down(2, stick.x, stick.y);
      await steer(0, -STICK_PUSH);
    } else if (f.points.has(2) && stix.count >= 10) {
      await f.up(2);  // the stix stands still: the Fuse comes
    } else {
      await page.waitForTimeout(30);
    }
  }
  for (const id of [...f.points.keys()]) await f.up(id);
  // The initials by touch: a flick of the stick down (A to Z), shorter than a frame, and OK.
  await f.down(2, stick.x, stick.y);
  await steer(0, STICK_PUSH);
  await f.up(2);
  await f.tap(1, at("ok").x, at("ok").y);
  await page.waitForFunction(() => (window.localStorage.getItem("zorvane/scores.dat") || "").includes("Z"), null,
                             { timeout: 20000 })
    .catch(async () => assert.fail(`initials Z saved: ${await page.evaluate(() => window.localStorage.getItem("zorvane/scores.dat"))}`));
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

test("in portrait the menu works by touch, and after Quit the page plays again", async () => {
  const page = await touchPage(PHONE_PORTRAIT);
  await openGame(page);
  const { controls } = await controlBoxes(page);
  const f = page.fingers;
  const stick = centre(controls.stick);
  const HIGHLIGHT = (row) => menuRow(row, PALE_YELLOW);
  await waitForFrame(page, [HIGHLIGHT(1)], ([r]) => r.count > 40, "New Game chosen");
  // A flick of the stick over between two frames (all in one task of the page) still moves
  // the choice, by exactly one row.
  await page.evaluate(({ x, y }) => {
    const zone = document.querySelector('[data-control="stick"]');
    const event = (type, dy) => new PointerEvent(type, { pointerId: 7, pointerType: "touch", isPrimary: true,
                                                         clientX: x, clientY: y + dy, bubbles: true });
    zone.dispatchEvent(event("pointerdown", 0));
    zone.dispatchEvent(event("pointermove", 40));
    zone.dispatchEvent(event("pointerup", 40));
  }, stick);
  await waitForFrame(page, [HIGHLIGHT(2), menuRow(1, PURPLE)], ([r, p]) => r.count > 40 && p.count > 40, "row 2 chosen");
  assert.equal((await frameAreas(page, [HIGHLIGHT(3)]))[0].count, 0, "one row, not two");
  // Down two rows more to Quit, each a quick flick of the stick.
  for (let row = 3; row <= 4; ++row) {
    await f.down(2, stick.x, stick.y);
    await f.move(2, stick.x, stick.y + 40);
    await f.up(2);
    await waitForFrame(page, [HIGHLIGHT(row), menuRow(row - 1, PURPLE)], ([r, p]) => r.count > 40 && p.count > 40, `row ${row} chosen`);
  }
  // Full screen from inside the gesture, and back.
  const full = centre(controls.fullscreen);
  await f.tap(3, full.x, full.y);
  await page.waitForFunction(() => document.fullscreenElement, null, { timeout: 10000 })
    .catch(() => assert.fail("the full screen button makes the page full screen"));
  await f.tap(3, full.x, full.y);
  await page.waitForFunction(() => !document.fullscreenElement, null, { timeout: 10000 })
    .catch(() => assert.fail("a second tap leaves full screen"));
  const ok = centre(controls.ok);
  await f.tap(1, ok.x, ok.y);
  await page.waitForSelector("#again", { state: "visible", timeout: 30000 });
  assert.equal((await controlBoxes(page)).controls.stick.shown, false, "no controls after Quit");
  await shoot(page, "phone-quit");
  const again = await page.evaluate(() => {
    const r = document.getElementById("again").getBoundingClientRect();
    return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
  });
  await Promise.all([page.waitForEvent("load"), f.tap(1, again.x, again.y)]);
  await page.waitForFunction(() => window.zorvaneFirstFrameMs, null, { timeout: 30000 });
  await waitForFrame(page, [HIGHLIGHT(1)], ([r]) => r.count > 40, "the menu again");
  assert.deepEqual(page.errors, []);
  await page.context().close();
});

// The PNG's size from its IHDR chunk.
function pngSize(file) {
  const b = fs.readFileSync(file);
  assert.equal(b.subarray(1, 4).toString(), "PNG", `${file} is a PNG`);
  return `${b.readUInt32BE(16)}x${b.readUInt32BE(20)}`;
}

test("the manifest parses and names icons of the sizes it says", async () => {
  const page = await touchPage(PHONE_LANDSCAPE);
  await openGame(page);
  const cdp = await page.context().newCDPSession(page);
  const manifest = await cdp.send("Page.getAppManifest");
  assert.deepEqual(manifest.errors, [], "Chromium reads the manifest without complaint");
  const data = JSON.parse(manifest.data);
  assert.equal(data.display, "fullscreen");
  assert.equal(data.orientation, "landscape");
  assert.equal(data.background_color, "#000000");
  assert.ok(!/^(\/|[a-z]+:)/.test(data.start_url), `the start address is relative: ${data.start_url}`);
  assert.equal(new URL(data.start_url, manifest.url).href, `${server.url}/zorvane.html`);
  assert.ok(data.name && data.short_name);
  const sizes = data.icons.map((icon) => icon.sizes).sort();
  assert.deepEqual(sizes, ["192x192", "512x512"]);
  for (const icon of data.icons) {
    assert.ok(!/^(\/|[a-z]+:)/.test(icon.src), `${icon.src} is relative`);
    assert.equal(pngSize(path.join(webDir, icon.src)), icon.sizes, `${icon.src} is ${icon.sizes}`);
  }
  await page.context().close();
});

// A copy of the page on a server of its own, so the test can change it and take it away.
function pageCopy() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "zorvane-page-"));
  for (const file of fs.readdirSync(webDir)) {
    const from = path.join(webDir, file);
    if (fs.statSync(from).isFile()) fs.copyFileSync(from, path.join(dir, file));
  }
  return dir;
}

const cacheState = (page) => page.evaluate(async () => {
  const state = {};
  for (const name of await caches.keys())
    state[name] = (await (await caches.open(name)).keys()).map((r) => new URL(r.url).pathname.split("/").pop()).sort();
  return state;
});

async function waitForCache(page, seen, what) {
  for (const end = Date.now() + 30000; Date.now() < end; await page.waitForTimeout(50)) {
    const state = await cacheState(page);
    if (seen(state)) return state;
  }
  assert.fail(`the cache never held ${what}: ${JSON.stringify(await cacheState(page))}`);
}

const holdsPage = (files) => PAGE_FILES.every((f) => files && files.includes(f));

test("a new build replaces the cache; after one visit the game starts offline", async () => {
  const dir = pageCopy();
  let own = await serve([dir]);
  const page = await touchPage(PHONE_LANDSCAPE);
  await openGame(page, own.url);
  await page.waitForFunction(() => navigator.serviceWorker.controller, null, { timeout: 30000 });
  const worker = fs.readFileSync(path.join(dir, "sw.js"), "utf8");
  const name = /const CACHE = "(zorvane-[0-9.]+-[0-9a-f]{12})"/.exec(worker)?.[1];
  assert.ok(name, "the cache is named for the version and the build");
  await waitForCache(page, (s) => holdsPage(s[name]), "the page's files");
  // The first visit fetched each file once: the worker kept what the page fetched.
  for (const file of PAGE_FILES)
    assert.equal(own.served.files.filter((f) => f === file).length, file === "zorvane.html" ? 2 : 1, `${file} fetched once`);

  // A rebuilt page (another build hash) at the same address: its worker takes over, keeps the
  // new files under the new name and drops the old cache.
  const rebuilt = name.replace(/[0-9a-f]{12}$/, (h) => (h[0] === "0" ? "1" : "0") + h.slice(1));
  fs.writeFileSync(path.join(dir, "sw.js"), worker.replace(name, rebuilt));
  fs.appendFileSync(path.join(dir, "zorvane.html"), "<!-- rebuilt -->\n");
  await page.reload();
  // The browser looks for a new worker on its own time; the test asks at once.
  await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r.update()));
  await waitForCache(page, (s) => s[rebuilt], "the new build");
  await page.reload();
  await page.waitForFunction(() => window.zorvaneFirstFrameMs, null, { timeout: 30000 });
  await waitForCache(page, (s) => Object.keys(s).length === 1 && holdsPage(s[rebuilt]), "the new build's files alone");
  const kept = await page.evaluate(async (n) => (await (await caches.open(n)).match("zorvane.html")).text(), rebuilt);
  assert.ok(kept.includes("<!-- rebuilt -->"), "the new cache holds the new page");

  // The network gone (and the server too): the page, the menu and a game all the same.
  await page.context().setOffline(true);
  own.close();
  own.closeAll();
  await page.reload();
  await page.waitForFunction(() => window.zorvaneFirstFrameMs, null, { timeout: 30000 });
  await waitForFrame(page, [menuRow(1, PALE_YELLOW)], ([r]) => r.count > 40, "the menu offline");
  const ok = centre((await controlBoxes(page)).controls.ok);
  await page.fingers.tap(1, ok.x, ok.y);
  await waitForFrame(page, [GAME_BORDER], isGameScreen, "a game offline");
  assert.deepEqual(page.errors, []);
  await page.context().close();
  fs.rmSync(dir, { recursive: true, force: true });
});
