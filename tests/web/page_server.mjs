// A static file server for the browser build and a headless Chromium to open it in.
import http from "node:http";
import fs from "node:fs";
import path from "node:path";
import { chromium } from "playwright-core";

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript",
  ".mjs": "text/javascript",
  ".wasm": "application/wasm",
  ".data": "application/octet-stream",
  ".zdemo": "application/octet-stream",
  ".webmanifest": "application/manifest+json",
  ".png": "image/png",
};

// Serves the files of the given folders (the first that has a name wins) on a port of localhost
// (a free one unless given: a page's storage and service worker belong to its port); every
// byte served is counted, so the test knows what the page loaded.
export async function serve(folders, port = 0) {
  const served = { bytes: 0, files: [] };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://localhost").pathname).replace(/^\/+/, "");
    if (name.includes("..")) {
      response.writeHead(403).end();
      return;
    }
    for (const folder of folders) {
      const file = path.join(folder, name);
      if (!fs.existsSync(file) || !fs.statSync(file).isFile()) continue;
      const body = fs.readFileSync(file);
      served.bytes += body.length;
      served.files.push(name);
      response.writeHead(200, { "Content-Type": TYPES[path.extname(file)] || "application/octet-stream",
                                "Cache-Control": "no-store" });
      response.end(body);
      return;
    }
    response.writeHead(404).end();
  });
  await new Promise((resolve) => server.listen(port, "127.0.0.1", resolve));
  const at = server.address().port;
  return { url: `http://127.0.0.1:${at}`, port: at, served, close: () => server.close(),
           closeAll: () => server.closeAllConnections() };
}

// Debian's Chromium, headless. This machine's network is closed, so everything that would
// reach out on its own is turned off.
export async function launch(extra = []) {
  return chromium.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync",
           "--autoplay-policy=no-user-gesture-required", ...extra],
  });
}

// CPU time (utime + stime, in clock ticks) of every process this program started, and theirs:
// the browser's processes alone, whatever else runs on the machine (another Chromium included).
export function browserTicks() {
  const parent = new Map(), ticks = new Map();
  for (const pid of fs.readdirSync("/proc").filter((d) => /^\d+$/.test(d))) {
    try {
      const fields = fs.readFileSync(`/proc/${pid}/stat`, "utf8").split(") ")[1].split(" ");
      parent.set(Number(pid), Number(fields[1]));
      ticks.set(Number(pid), Number(fields[11]) + Number(fields[12]));
    } catch {
      // the process has ended
    }
  }
  let total = 0;
  for (const [pid, t] of ticks) {
    let p = parent.get(pid);
    while (p && p !== process.pid) p = parent.get(p);
    if (p === process.pid) total += t;
  }
  return total;
}

// The browser's share of one core over the next given seconds, in per cent.
export async function browserShare(page, seconds) {
  const CLOCK_TICKS_PER_SECOND = 100;
  const before = browserTicks(), start = Date.now();
  await page.waitForTimeout(seconds * 1000);
  const busy = (browserTicks() - before) / CLOCK_TICKS_PER_SECOND;
  return 100 * busy / ((Date.now() - start) / 1000);
}
