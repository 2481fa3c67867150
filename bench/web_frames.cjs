// The web build's frames from two builds of the page, compared byte for byte: a change to the
// browser's GL layer (src/platform/web/) that is only to make the page faster must leave every
// pixel as it was. Both pages play the same run on a faked clock (performance.now steps 1/60 s at
// each animation frame the game asks for, and stands still before its first), the keys coming at
// the same frames, and the canvas is read back at the countdown, in the chase view driving and
// turning, in the overhead view (F3), and with the physics overlay (F1) in both views.
//   node web_frames.cjs <folder with the unpacked zip> <another such folder> [width height [scale]]
// Prints one line per frame and exits 1 when any frame differs. Needs puppeteer-core
// (tests/web/package.json).
"use strict";
const {serve, launch} = require("../tests/web/browser.cjs");

const [before, after] = process.argv.slice(2, 4);
const viewport = {width: +(process.argv[4] || 800), height: +(process.argv[5] || 600),
                  deviceScaleFactor: +(process.argv[6] || 1)};
const limit = 240000;  // ms: how long a page may take to play the run, on a busy machine too

// The run: at so many animation frames after the start key, a key goes down or up, or the frame
// just drawn is read back under the given name.
const plan = [
  [20, "shot countdown-early"], [150, "shot countdown-late"],
  [300, "down KeyE"], [300, "down KeyI"], [360, "shot chase-driving"],
  [380, "up KeyI"], [420, "shot chase-turning"], [440, "up KeyE"],
  [450, "press F3"], [480, "shot overhead"], [490, "press F1"], [520, "shot overhead-overlay"],
  [530, "press F3"], [560, "shot chase-overlay"], [570, "down KeyE"], [620, "shot chase-overlay-driving"],
];

// The frames of `plan` that the page at `address` draws, by name, as base64 RGBA.
async function frames(browser, address) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  await page.evaluateOnNewDocument(plan => {
    let now = 1000, frame = -1, waiting = [], asked = false, context = null;
    const animationFrame = window.requestAnimationFrame.bind(window);
    performance.now = () => now;
    const getContext = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function(type, attributes) {
      const made = getContext.call(this, type, attributes);
      if (type === "webgl" && made) context = made;
      return made;
    };
    const key = (type, code) =>
      window.dispatchEvent(new KeyboardEvent(type, {code, key: code.replace("Key", "").toLowerCase(), bubbles: true}));
    window.shots = {};
    window.shotsDone = false;
    window.startRun = () => {
      frame = 0;
      key("keydown", "Space");
      key("keyup", "Space");
    };
    const onFrame = () => {
      asked = false;
      const callbacks = waiting;
      waiting = [];
      now += 1000 / 60;
      if (frame >= 0) ++frame;
      const due = plan.filter(([at]) => at === frame).map(([, what]) => what.split(" "));
      for (const [verb, code] of due) {
        if (verb === "down" || verb === "press") key("keydown", code);
        if (verb === "up" || verb === "press") key("keyup", code);
      }
      callbacks.forEach(callback => callback(now));
      for (const [verb, name] of due) {
        if (verb !== "shot") continue;
        const pixels = new Uint8Array(context.drawingBufferWidth * context.drawingBufferHeight * 4);
        context.readPixels(0, 0, context.drawingBufferWidth, context.drawingBufferHeight,
                           context.RGBA, context.UNSIGNED_BYTE, pixels);
        let text = "";
        for (let i = 0; i < pixels.length; i += 32768)
          text += String.fromCharCode.apply(null, pixels.subarray(i, i + 32768));
        window.shots[name] = btoa(text);
      }
      if (frame === plan[plan.length - 1][0]) window.shotsDone = true;
    };
    window.requestAnimationFrame = callback => {
      waiting.push(callback);
      if (!asked) {
        asked = true;
        animationFrame(onFrame);
      }
      return 1;
    };
  }, plan);
  await page.goto(address, {waitUntil: "load"});
  await page.waitForFunction(() => !document.getElementById("start").hidden, {timeout: limit, polling: 20});
  await page.evaluate(() => window.startRun());
  await page.waitForFunction(() => window.shotsDone, {timeout: limit, polling: 200});
  const shots = await page.evaluate(() => window.shots);
  await page.close();
  return shots;
}

(async () => {
  const servers = await Promise.all([before, after].map(folder => serve(folder, [])));
  const browser = await launch();
  const shots = [];
  for (const server of servers) shots.push(await frames(browser, `http://127.0.0.1:${server.address().port}/`));
  let same = 0;
  const names = plan.filter(([, what]) => what.startsWith("shot ")).map(([, what]) => what.slice(5));
  for (const name of names) {
    const [x, y] = shots.map(each => Buffer.from(each[name] || "", "base64"));
    const alike = x.length > 0 && x.equals(y);
    let differ = 0;
    for (let i = 0; !alike && x.length === y.length && i < x.length; i += 4)
      if (x.readUInt32LE(i) !== y.readUInt32LE(i)) ++differ;
    if (alike) ++same;
    console.log(`${name}: ${x.length} bytes, ${alike ? "the same" : x.length === y.length ? `${differ} pixels differ` : "not the same size"}`);
  }
  console.log(`${viewport.width}x${viewport.height} at ${viewport.deviceScaleFactor}x: ${same} of ${names.length} frames the same`);
  await browser.done();
  servers.forEach(server => server.close());
  process.exit(same === names.length ? 0 : 1);
})().catch(error => {
  console.error(error);
  process.exit(1);
});
