// The web build in Debian's headless Chromium (software WebGL, SwiftShader), as scripts/bench.sh
// reports it: the download, the time from loading the page to its first countdown frame, and
// the frames a second of the chase view in play at 800x600 and 1920x1080, the page filling the
// browser's window.
//   node web_bench.cjs <folder with the unpacked zip>
// Needs puppeteer-core (tests/web/package.json). Wall-clock figures: they vary with the machine.
"use strict";
const fs = require("fs");
const path = require("path");
const {serve, launch, open} = require("../tests/web/browser.cjs");

const folder = process.argv[2];
const playSeconds = 5;  // frames are counted over this much of play, after the countdown
const countdownSeconds = 4.5;
const limit = 60000;    // ms: how long the page may take to load at all

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

// Loads the page, presses a key as soon as it can start, and returns the times (ms from the
// start of the navigation) at which it could start and at which the first frame was on screen.
async function startTimes(page) {
  await page.waitForFunction(() => !document.getElementById("start").hidden, {timeout: limit, polling: 5});
  const ready = await page.evaluate(() => performance.now());
  await page.keyboard.press("Space");
  await page.waitForFunction(() => performance.getEntriesByName("shelvoy-first-frame").length > 0,
                             {timeout: limit, polling: 5});
  const first = await page.evaluate(() => performance.getEntriesByName("shelvoy-first-frame")[0].startTime);
  return {ready, first};
}

// Frames a second the page shows while the game plays: the browser's animation frames, one for
// each frame the game hands over.
async function framesPerSecond(page) {
  await sleep(countdownSeconds * 1000);
  return page.evaluate(seconds => new Promise(resolve => {
    let frames = 0;
    const end = performance.now() + seconds * 1000;
    const count = () => {
      ++frames;
      if (performance.now() < end) requestAnimationFrame(count);
      else resolve(frames / seconds);
    };
    requestAnimationFrame(count);
  }), playSeconds);
}

(async () => {
  const server = await serve(folder, []);
  const address = `http://127.0.0.1:${server.address().port}/`;
  const browser = await launch();
  const bytes = name => fs.statSync(path.join(folder, name)).size;
  const download = ["index.html", "shelvoy.js", "shelvoy.wasm", "Receipt.ttf"].reduce((sum, name) => sum + bytes(name), 0);
  const zip = fs.readdirSync(path.join(folder, "..", "..", "..")).find(name => /^shelvoy-.*-web\.zip$/.test(name));
  console.log(`web: download ${(download / 1e6).toFixed(2)} MB (page, game and font; the zip ` +
              `${zip ? (fs.statSync(path.join(folder, "..", "..", "..", zip)).size / 1e6).toFixed(2) + " MB" : "not found"})`);
  for (const [width, height] of [[800, 600], [1920, 1080]]) {
    const page = await open(browser, address, {width, height});
    const times = await startTimes(page);
    const fps = await framesPerSecond(page);
    console.log(`web ${width}x${height}: page ready ${(times.ready / 1000).toFixed(2)} s, first countdown ` +
                `frame ${(times.first / 1000).toFixed(2)} s after loading began; chase view in play ` +
                `${fps.toFixed(1)} frames a second`);
    await page.close();
  }
  await browser.done();
  server.close();
})().catch(error => {
  console.error(error);
  process.exit(1);
});
