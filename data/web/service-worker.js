// Shelvoy!'s service worker: keeps the game's files, so that the page, once loaded, plays with no
// network and can live on a phone's home screen. The files are kept under the game's version; a
// page of a new version brings a new worker, which keeps its own files and drops the old ones.
// Each file comes from the network while there is one (so a server's newer file is taken and
// kept), and from the copy when there is not.
"use strict";
const version = "@PROJECT_VERSION@";
const keep = "shelvoy-" + version;
const files = ["./", "index.html", "shelvoy.js", "shelvoy.wasm", "Receipt.ttf", "manifest.webmanifest",
               "icons/shelvoy-48.png", "icons/shelvoy-64.png", "icons/shelvoy-128.png", "icons/shelvoy-256.png"];

self.addEventListener("install", event => {
  event.waitUntil(caches.open(keep).then(cache => cache.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", event => {
  event.waitUntil(caches.keys()
      .then(names => Promise.all(names.filter(name => name.startsWith("shelvoy-") && name !== keep)
                                      .map(name => caches.delete(name))))
      .then(() => self.clients.claim()));
});

self.addEventListener("fetch", event => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(fetch(request).then(response => {
    if (response.ok) {
      const copy = response.clone();
      caches.open(keep).then(cache => cache.put(request, copy));
    }
    return response;
  }).catch(() => caches.open(keep).then(cache => cache.match(request, {ignoreSearch: true}))
      .then(kept => kept || Response.error())));
});
