// What a page costs headless Chromium before the game does anything: small pages that only do
// what the game's page does each frame (nothing, a 640x480 put, a put and a scaled draw, a WebGL
// upload and draw), measured as measure_page.mjs measures the game (never a pass/fail test).
//   node measure_floor.mjs [SECONDS] [RUNS] [CASE...]
//   node measure_floor.mjs serve
import http from "node:http";
import { launch, browserShare } from "./page_server.mjs";

const [secondsArg, runsArg, ...only] = process.argv.slice(2);
const seconds = Number(secondsArg || 30);
const runs = Number(runsArg || 3);

// Each case: the body of a function run once with (canvas, frame), where frame(n) fills a
// 640x480 RGBA or 8-bit picture that changes every call, as the menu's scrolling lines do.
const CASES = {
  idle: `// no animation frames at all`,
  raf: `function tick() { requestAnimationFrame(tick); } requestAnimationFrame(tick);`,
  put: `
    canvas.width = 640; canvas.height = 480;
    const ctx = canvas.getContext("2d"), image = ctx.createImageData(640, 480);
    let n = 0;
    function tick() { fillRgba(image.data, n++); ctx.putImageData(image, 0, 0); requestAnimationFrame(tick); }
    requestAnimationFrame(tick);`,
  // Every other animation frame, as a game at its 30 ms frames.
  put30: `
    canvas.width = 640; canvas.height = 480;
    const ctx = canvas.getContext("2d"), image = ctx.createImageData(640, 480);
    let n = 0;
    function tick() { if (++n % 2) { fillRgba(image.data, n); ctx.putImageData(image, 0, 0); } requestAnimationFrame(tick); }
    requestAnimationFrame(tick);`,
  // Timers instead of animation frames: the same work, without asking for a frame each time.
  timer: `function tick() { setTimeout(tick, 16); } tick();`,
  timerput: `
    canvas.width = 640; canvas.height = 480;
    const ctx = canvas.getContext("2d"), image = ctx.createImageData(640, 480);
    let n = 0;
    function tick() { fillRgba(image.data, n++); ctx.putImageData(image, 0, 0); setTimeout(tick, 16); }
    tick();`,
  timerput30: `
    canvas.width = 640; canvas.height = 480;
    const ctx = canvas.getContext("2d"), image = ctx.createImageData(640, 480);
    let n = 0;
    function tick() { fillRgba(image.data, n++); ctx.putImageData(image, 0, 0); setTimeout(tick, 33); }
    tick();`,
  // Only the changed band put (the earlier dirty-rectangle attempt).
  putband: `
    canvas.width = 640; canvas.height = 480;
    const ctx = canvas.getContext("2d"), image = ctx.createImageData(640, 480);
    let n = 0;
    function tick() { fillRgba(image.data, n); const y = n++ % 400; ctx.putImageData(image, 0, 0, 0, y, 640, 40); requestAnimationFrame(tick); }
    requestAnimationFrame(tick);`,
  // An opaque context, and one kept in memory for reading back.
  putopaque: `
    canvas.width = 640; canvas.height = 480;
    const ctx = canvas.getContext("2d", { alpha: false }), image = ctx.createImageData(640, 480);
    let n = 0;
    function tick() { fillRgba(image.data, n++); ctx.putImageData(image, 0, 0); requestAnimationFrame(tick); }
    requestAnimationFrame(tick);`,
  putread: `
    canvas.width = 640; canvas.height = 480;
    const ctx = canvas.getContext("2d", { willReadFrequently: true }), image = ctx.createImageData(640, 480);
    let n = 0;
    function tick() { fillRgba(image.data, n++); ctx.putImageData(image, 0, 0); requestAnimationFrame(tick); }
    requestAnimationFrame(tick);`,
  // A bitmap renderer: the frame handed over as an ImageBitmap, no canvas drawing at all.
  bitmap: `
    canvas.width = 640; canvas.height = 480;
    const ctx = canvas.getContext("bitmaprenderer"), image = new ImageData(640, 480);
    let n = 0;
    async function tick() { fillRgba(image.data, n++); ctx.transferFromImageBitmap(await createImageBitmap(image)); requestAnimationFrame(tick); }
    requestAnimationFrame(tick);`,
  // The picture in tiles, each its own canvas: only the tiles a frame changes are put.
  tiles: tiled(64, 48, 40),
  strips: tiled(640, 16, 40),
  // A small change (a marker's 16 rows), the tiles it touches.
  tilessmall: tiled(64, 48, 8),
  // A low-latency context.
  putdesync: `
    canvas.width = 640; canvas.height = 480;
    const ctx = canvas.getContext("2d", { desynchronized: true }), image = ctx.createImageData(640, 480);
    let n = 0;
    function tick() { fillRgba(image.data, n++); ctx.putImageData(image, 0, 0); requestAnimationFrame(tick); }
    requestAnimationFrame(tick);`,
  // The canvas handed to a worker, which puts each frame the page posts it (the changed band).
  worker: `
    canvas.width = 640; canvas.height = 480;
    const offscreen = canvas.transferControlToOffscreen();
    const code = "let ctx, image; onmessage = (e) => { if (e.data.canvas) { ctx = e.data.canvas.getContext('2d'); image = new ImageData(640, 480); return; }" +
                 " image.data.set(e.data.band, e.data.y * 2560); ctx.putImageData(image, 0, 0, 0, e.data.y, 640, 40); };";
    const worker = new Worker(URL.createObjectURL(new Blob([code], { type: "text/javascript" })));
    worker.postMessage({ canvas: offscreen }, [offscreen]);
    const image = new Uint8ClampedArray(640 * 480 * 4);
    let n = 0;
    function tick() {
      fillRgba(image, n); const y = n++ % 400;
      worker.postMessage({ y, band: image.slice(y * 2560, (y + 40) * 2560) });
      requestAnimationFrame(tick);
    }
    requestAnimationFrame(tick);`,
  // Game controllers: sampled every frame, or only listened for.
  pads: `function tick() { navigator.getGamepads(); requestAnimationFrame(tick); } requestAnimationFrame(tick);`,
  padlisten: `window.addEventListener("gamepadconnected", () => {});
    function tick() { requestAnimationFrame(tick); } requestAnimationFrame(tick);`,
  // The page's path before: a put into a picture canvas, drawn onto the page's canvas.
  putdraw: `
    canvas.width = 640; canvas.height = 480;
    const picture = document.createElement("canvas"); picture.width = 640; picture.height = 480;
    const pctx = picture.getContext("2d"), ctx = canvas.getContext("2d"), image = pctx.createImageData(640, 480);
    let n = 0;
    function tick() {
      fillRgba(image.data, n++); pctx.putImageData(image, 0, 0);
      ctx.drawImage(picture, 0, 0, 640, 480); requestAnimationFrame(tick);
    }
    requestAnimationFrame(tick);`,
  // The 8-bit frame and a palette into WebGL, the palette applied in the fragment shader.
  webgl: `
    canvas.width = 640; canvas.height = 480;
    const gl = canvas.getContext("webgl", { alpha: false, antialias: false, depth: false, stencil: false,
                                            preserveDrawingBuffer: false });
    if (!gl) { document.title = "no webgl"; return; }
    document.title = gl.getParameter(gl.RENDERER);
    const vs = gl.createShader(gl.VERTEX_SHADER);
    gl.shaderSource(vs, "attribute vec2 p; varying vec2 uv; void main() { uv = vec2(p.x + 1.0, 1.0 - p.y) * 0.5; gl_Position = vec4(p, 0.0, 1.0); }");
    gl.compileShader(vs);
    const fs = gl.createShader(gl.FRAGMENT_SHADER);
    gl.shaderSource(fs, "precision mediump float; uniform sampler2D f, pal; varying vec2 uv; void main() { gl_FragColor = texture2D(pal, vec2((texture2D(f, uv).r * 255.0 + 0.5) / 256.0, 0.5)); }");
    gl.compileShader(fs);
    const prog = gl.createProgram(); gl.attachShader(prog, vs); gl.attachShader(prog, fs); gl.linkProgram(prog); gl.useProgram(prog);
    const buf = gl.createBuffer(); gl.bindBuffer(gl.ARRAY_BUFFER, buf);
    gl.bufferData(gl.ARRAY_BUFFER, new Float32Array([-1, -1, 1, -1, -1, 1, 1, 1]), gl.STATIC_DRAW);
    gl.enableVertexAttribArray(0); gl.vertexAttribPointer(0, 2, gl.FLOAT, false, 0, 0);
    function texture(unit) {
      const t = gl.createTexture(); gl.activeTexture(gl.TEXTURE0 + unit); gl.bindTexture(gl.TEXTURE_2D, t);
      for (const k of [gl.TEXTURE_MIN_FILTER, gl.TEXTURE_MAG_FILTER]) gl.texParameteri(gl.TEXTURE_2D, k, gl.NEAREST);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE); gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
      return t;
    }
    gl.pixelStorei(gl.UNPACK_ALIGNMENT, 1);
    texture(1); const palette = new Uint8Array(256 * 4); for (let i = 0; i < 1024; ++i) palette[i] = (i * 37) & 255;
    gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA, 256, 1, 0, gl.RGBA, gl.UNSIGNED_BYTE, palette);
    texture(0); const frame = new Uint8Array(640 * 480);
    gl.texImage2D(gl.TEXTURE_2D, 0, gl.LUMINANCE, 640, 480, 0, gl.LUMINANCE, gl.UNSIGNED_BYTE, frame);
    gl.uniform1i(gl.getUniformLocation(prog, "f"), 0); gl.uniform1i(gl.getUniformLocation(prog, "pal"), 1);
    gl.viewport(0, 0, 640, 480);
    let n = 0;
    function tick() {
      fill8(frame, n++);
      gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, 640, 480, gl.LUMINANCE, gl.UNSIGNED_BYTE, frame);
      gl.drawArrays(gl.TRIANGLE_STRIP, 0, 4); requestAnimationFrame(tick);
    }
    requestAnimationFrame(tick);`,
};

function tiled(tw, th, rows) {
  return `
    canvas.style.display = "none";
    const tiles = [];
    for (let y = 0; y < 480; y += ${th})
      for (let x = 0; x < 640; x += ${tw}) {
        const c = document.createElement("canvas"); c.width = ${tw}; c.height = ${th};
        c.style.cssText = "position: absolute; left: " + x + "px; top: " + y + "px;";
        document.body.appendChild(c);
        tiles.push({ x, y, ctx: c.getContext("2d"), image: new ImageData(${tw}, ${th}) });
      }
    let n = 0;
    function tick() {
      const y0 = n % 400, y1 = y0 + ${rows};
      for (const t of tiles) {
        if (t.y + ${th} <= y0 || t.y >= y1) continue;
        const d = t.image.data; for (let i = 0; i < d.length; i += 4) d[i] = (i + n) & 255;
        t.ctx.putImageData(t.image, 0, 0);
      }
      ++n; requestAnimationFrame(tick);
    }
    requestAnimationFrame(tick);`;
}

// Changes a band of rows each call (the scrolling lines), the rest stays.
const HELPERS = `
  function fillRgba(d, n) { for (let i = (n % 400) * 2560, e = i + 40 * 2560; i < e; ++i) d[i] = (i + n) & 255; }
  function fill8(d, n) { for (let i = (n % 400) * 640, e = i + 40 * 640; i < e; ++i) d[i] = (i + n) & 255; }`;

function pageOf(name, css) {
  return `<!doctype html><html><head><style>html, body { margin: 0; background: #000; overflow: hidden; }
    canvas { display: block; ${css} }</style></head><body><canvas id="c"></canvas><script>
    ${HELPERS}
    (function (canvas) { ${CASES[name]} })(document.getElementById("c"));</script></body></html>`;
}

// name[@WxH][+css]: the case on a page of that size (640x480 unless given); "+css" scales a
// 640x480 canvas to the page by CSS, pixelated.
function parse(spec) {
  const [head, css] = spec.split("+");
  const [name, size] = head.split("@");
  const [w, h] = (size || "640x480").split("x").map(Number);
  return { name, w, h, css: css === "css" ? `width: ${w}px; height: ${h}px; image-rendering: pixelated;` : "" };
}

const server = http.createServer((request, response) => {
  const spec = decodeURIComponent(new URL(request.url, "http://localhost").pathname.slice(1));
  const { name, css } = parse(spec);
  if (!CASES[name]) return response.writeHead(404).end();
  response.writeHead(200, { "Content-Type": "text/html" }).end(pageOf(name, css));
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const url = `http://127.0.0.1:${server.address().port}`;
// "serve": only the pages, for a look by hand (http://127.0.0.1:PORT/CASE).
if (secondsArg === "serve") {
  console.log(url);
  await new Promise(() => {});
}

const specs = only.length ? only : Object.keys(CASES);
const results = {};
for (let run = 0; run < runs; ++run)
  for (const spec of specs) {
    // A fresh browser each time, as the game's measurement has.
    const browser = await launch(process.env.EXTRA_FLAGS ? process.env.EXTRA_FLAGS.split(" ") : []);
    const { w, h } = parse(spec);
    const page = await browser.newPage({ viewport: { width: w, height: h } });
    await page.goto(`${url}/${spec}`);
    await page.waitForTimeout(2000);
    const share = await browserShare(page, seconds);
    const title = await page.title();
    (results[spec] ||= []).push(share);
    console.log(`${spec}: ${share.toFixed(1)} % of a core over ${seconds} s${title ? ` (${title})` : ""}`);
    await browser.close();
  }
for (const [spec, list] of Object.entries(results)) {
  list.sort((a, b) => a - b);
  console.log(`${spec}: median ${list[list.length >> 1].toFixed(1)} %, ${list[0].toFixed(1)}-${list[list.length - 1].toFixed(1)} (${list.length} runs)`);
}
server.close();
