// Reading the game's picture off the page, and driving a live run from the test.

// Bits of the game's key mask, in the order the game keeps its keys.
export const GAME_KEYS = { ENTER: 1, SHIFT: 2, CTRL: 4, ESC: 8, SPACE: 16, LEFT: 32, UP: 64, RIGHT: 128, DOWN: 256, F1: 512 };

// The pixels of the page's canvas as the player sees them: { width, height, data (RGBA) }.
export async function canvasPixels(page) {
  const picture = await page.evaluate(() => {
    const canvas = document.getElementById("screen");
    const image = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height);
    let text = "";
    for (let i = 0; i < image.data.length; i += 0x8000)
      text += String.fromCharCode.apply(null, image.data.subarray(i, i + 0x8000));
    return { width: image.width, height: image.height, data: btoa(text) };
  });
  return { width: picture.width, height: picture.height, data: Buffer.from(picture.data, "base64") };
}

export function pictureAt(picture, x, y) {
  const i = (y * picture.width + x) * 4;
  return Array.from(picture.data.subarray(i, i + 3));
}

// Pixels of the area in exactly colour [r, g, b]; with colour null, pixels that are not black.
export function countColour(picture, area, colour) {
  let n = 0;
  for (let y = area.y; y < area.y + area.h; ++y)
    for (let x = area.x; x < area.x + area.w; ++x) {
      const [r, g, b] = pictureAt(picture, x, y);
      if (colour ? r === colour[0] && g === colour[1] && b === colour[2] : r + g + b > 0) ++n;
    }
  return n;
}

// A live run on a page opened with ?test: started, then run pass by pass with keys held.
export function startTestRun(page) {
  return page.evaluate(() => Module.ccall("zorvane_test_start", "number", [], []));
}

export function drive(page, mask, passes) {
  return page.evaluate(([m, n]) => Module.ccall("zorvane_test_passes", "number", ["number", "number"], [m, n]),
                       [mask, passes]);
}

// The game's phase in a driven run (as the game numbers them), -1 when none runs.
export const PHASES = { GAME_OVER: 0, LIFE_LOST: 1, PLAYING: 2, LEVEL_COMPLETE: 3, HISCORE_ENTRY: 4, PAUSED: 5 };
export function phase(page) {
  return page.evaluate(() => Module.ccall("zorvane_test_phase", "number", [], []));
}

// The game's own 640x480 frame as the page last received it, read in the page: for each area
// { x, y, w, h, colour } the pixels of that colour (null: not black) and their bounding box.
export function frameAreas(page, areas) {
  return page.evaluate((areas) => {
    const frame = Module.zorvaneFrame();
    if (!frame.width) return areas.map(() => ({ count: 0 }));
    const data = frame.getContext("2d").getImageData(0, 0, frame.width, frame.height).data;
    return areas.map(({ x, y, w, h, colour }) => {
      const found = { count: 0, x0: Infinity, y0: Infinity, x1: -1, y1: -1, pattern: "" };
      for (let j = y; j < y + h; ++j)
        for (let i = x; i < x + w; ++i) {
          const o = (j * frame.width + i) * 4;
          const hit = colour ? data[o] === colour[0] && data[o + 1] === colour[1] && data[o + 2] === colour[2]
                             : data[o] + data[o + 1] + data[o + 2] > 0;
          found.pattern += hit ? "#" : ".";
          if (!hit) continue;
          ++found.count;
          found.x0 = Math.min(found.x0, i);
          found.y0 = Math.min(found.y0, j);
          found.x1 = Math.max(found.x1, i);
          found.y1 = Math.max(found.y1, j);
        }
      return found;
    });
  }, areas);
}

// Real touches through Chromium's input layer (several fingers at once), by finger id, in CSS
// pixels of the page.
export class Fingers {
  constructor(cdp) {
    this.cdp = cdp;
    this.points = new Map();
  }
  list() {
    return [...this.points.entries()].map(([id, p]) => ({ id, x: p.x, y: p.y, radiusX: 8, radiusY: 8, force: 1 }));
  }
  async down(id, x, y) {
    this.points.set(id, { x, y });
    await this.cdp.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: this.list() });
  }
  async move(id, x, y) {
    this.points.set(id, { x, y });
    await this.cdp.send("Input.dispatchTouchEvent", { type: "touchMove", touchPoints: this.list() });
  }
  // Lifts one finger; the others stay down.
  async up(id) {
    const p = this.points.get(id);
    this.points.delete(id);
    await this.cdp.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [{ id, x: p.x, y: p.y }] });
  }
  // The system takes every touch away (an incoming call, a gesture of its own).
  async cancel() {
    this.points.clear();
    await this.cdp.send("Input.dispatchTouchEvent", { type: "touchCancel", touchPoints: [] });
  }
  async tap(id, x, y) {
    await this.down(id, x, y);
    await this.up(id);
  }
}

// The boxes of the page's canvas and of every touch control, in CSS pixels.
export function controlBoxes(page) {
  return page.evaluate(() => {
    const rect = (e) => {
      const r = e.getBoundingClientRect();
      return { x: r.x, y: r.y, w: r.width, h: r.height, shown: r.width > 0 && getComputedStyle(e).visibility !== "hidden" };
    };
    const controls = {};
    for (const e of document.querySelectorAll("[data-control]")) controls[e.dataset.control] = rect(e);
    return { screen: rect(document.getElementById("screen")), controls,
             viewport: { w: window.innerWidth, h: window.innerHeight } };
  });
}
