// The web build in Debian's headless Chromium (software WebGL, SwiftShader), as scripts/bench.sh
// reports it: the download, the time from loading the page to its first countdown frame, and
// the frames a second of the chase view in play and the main thread's time per frame at 800x600
// and 1920x1080, the page filling the browser's window, and on a phone-sized page (390x844 at 3x,
// touch) as it is and with the CPU throttled 4x.
//   node web_bench.cjs <folder with the unpacked zip> [another such folder...]
// Given two builds' folders (this tree's and another's, say), it measures them interleaved, page
// by page.
// Needs puppeteer-core (tests/web/package.json). Wall-clock figures: they vary with the machine.
"use strict";
const fs = require("fs");
const path = require("path");
const {serve, launch, open} = require("../tests/web/browser.cjs");

const folders = process.argv.slice(2);
const folder = folders[0];
const playSeconds = 5;  // frames are counted over this much of play, after the countdown
const countdownSeconds = 4.5;
const limit = 60000;    // ms: how long the page may take to load at all

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

// Loads the page, starts it as soon as it can (`start`: a key, a tap), and returns the times (ms from the
// start of the navigation) at which it could start and at which the first frame was on screen.
async function startTimes(page, start) {
  await page.waitForFunction(() => !document.getElementById("start").hidden, {timeout: limit, polling: 5});
  const ready = await page.evaluate(() => performance.now());
  await start();
  await page.waitForFunction(() => performance.getEntriesByName("shelvoy-first-frame").length > 0,
                             {timeout: limit, polling: 5});
  const first = await page.evaluate(() => performance.getEntriesByName("shelvoy-first-frame")[0].startTime);
  return {ready, first};
}

// Frames a second the page shows while the game plays (the browser's animation frames, one for
// each frame the game hands over), and the page's main thread's busy time per frame (its tasks,
// the waits for the GPU process that draws with SwiftShader included) and its script's share.
async function framesPerSecond(page, session) {
  await sleep(countdownSeconds * 1000);
  await session.send("Performance.enable");
  const metrics = async () => Object.fromEntries(
      (await session.send("Performance.getMetrics")).metrics.map(metric => [metric.name, metric.value]));
  const before = await metrics();
  const frames = await page.evaluate(seconds => new Promise(resolve => {
    let frames = 0;
    const end = performance.now() + seconds * 1000;
    const count = () => {
      ++frames;
      if (performance.now() < end) requestAnimationFrame(count);
      else resolve(frames);
    };
    requestAnimationFrame(count);
  }), playSeconds);
  const after = await metrics();
  const perFrame = name => (after[name] - before[name]) * 1000 / frames;
  return {fps: frames / playSeconds, task: perFrame("TaskDuration"), script: perFrame("ScriptDuration")};
}

// The pages measured: a window's at two sizes, and a phone's (390 x 844 CSS pixels at 3x) as it
// is and with its CPU slowed 4x (Chromium's throttling, a mid-range phone's CPU).
const phone = {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
const pages = [
  {name: "800x600", viewport: {width: 800, height: 600}, throttle: 1},
  {name: "1920x1080", viewport: {width: 1920, height: 1080}, throttle: 1},
  {name: "phone 390x844 at 3x", viewport: phone, throttle: 1},
  {name: "phone 390x844 at 3x, CPU throttled 4x", viewport: phone, throttle: 4},
];

(async () => {
  const servers = await Promise.all(folders.map(each => serve(each, [])));
  const addresses = servers.map(server => `http://127.0.0.1:${server.address().port}/`);
  const browser = await launch();
  const bytes = name => fs.statSync(path.join(folder, name)).size;
  const download = ["index.html", "shelvoy.js", "shelvoy.wasm", "Receipt.ttf"].reduce((sum, name) => sum + bytes(name), 0);
  const zip = fs.readdirSync(path.join(folder, "..", "..", "..")).find(name => /^shelvoy-.*-web\.zip$/.test(name));
  console.log(`web: download ${(download / 1e6).toFixed(2)} MB (page, game and font; the zip ` +
              `${zip ? (fs.statSync(path.join(folder, "..", "..", "..", zip)).size / 1e6).toFixed(2) + " MB" : "not found"})`);
  for (const {name, viewport, throttle} of pages) {
    for (const [index, address] of addresses.entries()) {
      const page = await open(browser, address, viewport);
      const session = await page.target().createCDPSession();
      await session.send("Emulation.setCPUThrottlingRate", {rate: throttle});
      const tap = async () => {
        await session.send("Input.dispatchTouchEvent", {type: "touchStart", touchPoints: [{x: 195, y: 700}]});
        await session.send("Input.dispatchTouchEvent", {type: "touchEnd", touchPoints: []});
      };
      const times = await startTimes(page, viewport.hasTouch ? tap : () => page.keyboard.press("Space"));
      const play = await framesPerSecond(page, session);
      console.log(`web ${name}${addresses.length > 1 ? ` (${folders[index]})` : ""}: page ready ` +
                  `${(times.ready / 1000).toFixed(2)} s, first countdown frame ${(times.first / 1000).toFixed(2)} s ` +
                  `after loading began; chase view in play ${play.fps.toFixed(1)} frames a second, main ` +
                  `thread ${play.task.toFixed(1)} ms a frame (script ${play.script.toFixed(1)} ms)`);
      await session.detach();
      await page.close();
    }
  }
  await browser.done();
  servers.forEach(server => server.close());
})().catch(error => {
  console.error(error);
  process.exit(1);
});
