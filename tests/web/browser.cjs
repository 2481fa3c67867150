// Debian's headless Chromium driving the web build's page: a static server for its folder, the
// browser, a page. Used by page_test.cjs and bench/web_bench.cjs; needs puppeteer-core
// (tests/web/package.json).
"use strict";
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");
const puppeteer = require("puppeteer-core");

// Serves `folder` on a free port of 127.0.0.1, leaving out the files named in `missing` (404, as a
// server without them).
function serve(folder, missing) {
  folder = path.resolve(folder);
  const types = {".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
                 ".webmanifest": "application/manifest+json", ".png": "image/png"};
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://localhost").pathname).slice(1) || "index.html";
    const file = path.join(folder, path.normalize(name));
    if (missing.includes(name) || !file.startsWith(folder) || !fs.existsSync(file)) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, {"Content-Type": types[path.extname(file)] || "application/octet-stream"});
    fs.createReadStream(file).pipe(response);
  });
  // stop() ends the server as a network that went away: open connections too.
  const sockets = new Set();
  server.on("connection", socket => {
    sockets.add(socket);
    socket.on("close", () => sockets.delete(socket));
  });
  server.stop = () => new Promise(resolve => {
    server.close(resolve);
    for (const socket of sockets) socket.destroy();
  });
  return new Promise(resolve => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// Debian's Chromium, headless, with a profile of its own and nothing that reaches the network.
async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "shelvoy-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: process.env.SHELVOY_CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking",
           "--disable-component-update", "--disable-sync", "--no-first-run",
           "--enable-unsafe-swiftshader", "--user-data-dir=" + profile],
  });
  // Closes the browser and removes its profile.
  browser.done = async () => {
    await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
  };
  return browser;
}

// The page at `address` in a viewport of {width, height[, deviceScaleFactor]} CSS pixels, its
// console kept.
async function open(browser, address, viewport) {
  const page = await browser.newPage();
  page.consoleLines = [];
  page.on("console", message => page.consoleLines.push(message.text()));
  page.on("pageerror", error => page.consoleLines.push("page error: " + error.message));
  await page.setViewport(viewport);
  await page.goto(address, {waitUntil: "load"});
  return page;
}

module.exports = {serve, launch, open};
