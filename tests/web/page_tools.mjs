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
