// The page's service worker: it keeps the page and its files as the page fetches them, under a
// cache named for the version and the build, and answers from there first, so the game starts
// offline after one visit. Only the start page is fetched by the worker itself (the page was
// loaded before the worker existed); the large files are kept as they pass, never fetched twice.
// Every address is relative to the worker, so the folder may be served at any path.
"use strict";
const CACHE = "@CACHE_NAME@";
const FILES = ["zorvane.html", "zorvane.js", "zorvane.wasm", "zorvane.data", "manifest.webmanifest",
               "icon-192.png", "icon-512.png"];
const scope = new URL("./", self.location).href;

// The page file a request stands for ("" for none), without its query (?args=...).
function pageFile(request) {
  if (request.method !== "GET" || !request.url.startsWith(scope)) return "";
  const name = new URL(request.url).pathname.slice(new URL(scope).pathname.length);
  if (FILES.includes(name)) return name;
  // The folder itself, as a server with an index page names it.
  return request.mode === "navigate" && name === "" ? "zorvane.html" : "";
}

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.add(new Request("zorvane.html", { cache: "no-cache" })))
    .then(() => self.skipWaiting()));
});

// Every cache of an older build.
async function dropOlder() {
  const names = await caches.keys();
  await Promise.all(names.filter((n) => n.startsWith("zorvane-") && n !== CACHE).map((n) => caches.delete(n)));
}

// A new build's worker takes over at once and drops every cache of older builds.
self.addEventListener("activate", (event) => {
  event.waitUntil(dropOlder().then(() => self.clients.claim()));
});

// The page gets the answer as it arrives (the game compiles while it downloads); the copy is
// stored beside it.
async function answer(event, name) {
  // A worker whose cache a newer build has dropped answers from the network alone: opening
  // the cache would make it again.
  if (!(await caches.has(CACHE))) return fetch(event.request);
  const cache = await caches.open(CACHE);
  const kept = await cache.match(name);
  if (kept) return kept;
  const response = await fetch(event.request);
  // Whole answers only: a partial or failed one would be served for ever after.
  if (response.status === 200) event.waitUntil(cache.put(name, response.clone()).then(dropOlder));
  return response;
}

self.addEventListener("fetch", (event) => {
  const name = pageFile(event.request);
  if (name) event.respondWith(answer(event, name));
});
