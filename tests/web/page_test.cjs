// The web build played in Debian's headless Chromium, as a player meets it: the page served over
// HTTP from the build's folder, started with a key, looked at in screenshots.
//   node page_test.cjs <folder with index.html, shelvoy.js, shelvoy.wasm, Receipt.ttf> [png dir]
// Needs puppeteer-core and pngjs (tests/web/package.json) and /usr/bin/chromium. Prints one line
// per case and "N passed, N failed" last; exits 1 when a case failed. With a second argument, the
// screenshots it looked at are kept there.
"use strict";
const fs = require("fs");
const path = require("path");
const {PNG} = require("pngjs");
const {serve, launch, open} = require("./browser.cjs");

const folder = process.argv[2];
const keep = process.argv[3];
const viewport = {width: 800, height: 600};
// Bounds on waiting for the page, never on how fast it plays: a busy machine only makes it slower.
const loadLimit = 60000;   // ms
const phaseLimit = 30000;  // ms

let shots = 0;
async function screenshot(page, name) {
  const bytes = await page.screenshot();
  if (keep) fs.writeFileSync(path.join(keep, `${String(++shots).padStart(2, "0")}-${name}.png`), bytes);
  return PNG.sync.read(bytes);
}

// Pixels of `image` inside the box [x0, x1) x [y0, y1) for which `test(r, g, b)` holds.
function count(image, [x0, y0, x1, y1], test) {
  let n = 0;
  for (let y = y0; y < y1; ++y)
    for (let x = x0; x < x1; ++x) {
      const i = (y * image.width + x) * 4;
      if (test(image.data[i], image.data[i + 1], image.data[i + 2])) ++n;
    }
  return n;
}

// Pixels that differ between two images inside a box.
function differing(a, b, [x0, y0, x1, y1]) {
  let n = 0;
  for (let y = y0; y < y1; ++y)
    for (let x = x0; x < x1; ++x) {
      const i = (y * a.width + x) * 4;
      if (a.data[i] !== b.data[i] || a.data[i + 1] !== b.data[i + 1] || a.data[i + 2] !== b.data[i + 2]) ++n;
    }
  return n;
}

const whole = [0, 0, viewport.width, viewport.height];
const centre = [250, 180, 550, 420];  // where the countdown's words stand
const view = [0, 60, 800, 600];       // the store below the counters
// Pixels of the view that change in a second or so with no key held: the items turn on their
// spots, and the chase camera still settles behind the trolley after the countdown, by less than
// a pixel (about 2,000 pixels in all). Driving for 1.5 s changes 70,000 and more.
const standing = 10000;
const driving = 30000;
const white = (r, g, b) => r > 240 && g > 240 && b > 240;
const black = (r, g, b) => r < 16 && g < 16 && b < 16;
const shelfBlue = (r, g, b) => b > r + 40 && b > g + 20;
const shelfTop = (r, g, b) => b > 230 && g > r + 30;  // lit from straight above

async function until(page, name, test) {
  const end = Date.now() + phaseLimit;
  for (;;) {
    const image = await screenshot(page, name);
    if (test(image)) return image;
    if (Date.now() > end) throw new Error(`no ${name} within ${phaseLimit / 1000} s`);
    await new Promise(resolve => setTimeout(resolve, 200));
  }
}

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
const visible = (page, id) => page.$eval("#" + id, element => !element.hidden);
function check(condition, what) {
  if (!condition) throw new Error(what);
}

// Starts the game with a key, checks the countdown over the lit store (and runs `duringCountdown`
// while it shows) and waits for the play: returns the picture once the countdown is over, after
// checking that it stands with no key held (but for the turning items and the camera's settling).
async function startAndPlay(page, duringCountdown) {
  await page.waitForFunction(() => !document.getElementById("start").hidden, {timeout: loadLimit});
  await page.keyboard.press("Space");
  const countdown = await until(page, "countdown", image =>
      count(image, centre, white) > 2000 && count(image, centre, black) > 1000);
  check(count(countdown, whole, shelfBlue) > 20000, "no lit shelves around the countdown");
  if (duringCountdown) await duringCountdown();
  // The words' black rims are gone once the countdown is over.
  await until(page, "play", image => count(image, centre, black) < 200);
  const still = await screenshot(page, "idle");
  await sleep(1000);
  const idleMoved = differing(still, await screenshot(page, "idle-later"), view);
  check(idleMoved < standing, `the view moved with no key held (${idleMoved} pixels)`);
  return still;
}

// Holds keys given as [code, the character the layout types there] for `ms`, as a keyboard with
// that layout sends them; returns the picture then (with a `name`).
async function hold(page, keys, ms, name) {
  const session = await page.target().createCDPSession();
  const send = (type, [code, key]) => session.send("Input.dispatchKeyEvent", {
    type, code, key, text: type === "keyDown" ? key : undefined,
    windowsVirtualKeyCode: key.toUpperCase().charCodeAt(0)});
  for (const key of keys) await send("keyDown", key);
  await sleep(ms);
  const image = name ? await screenshot(page, name) : null;
  for (const key of keys) await send("keyUp", key);
  await session.detach();
  return image;
}

const cases = {
  // The countdown over the lit store; the trolley driven with the two forward keys; fullscreen
  // and back; Esc ends the run, the page says so, and the last picture stands.
  async playsAndQuits(browser, address) {
    const page = await open(browser, address, viewport);
    const still = await startAndPlay(page);
    await page.keyboard.down("KeyE");
    await page.keyboard.down("KeyI");
    await sleep(1500);
    const driven = await screenshot(page, "driven");
    await page.keyboard.up("KeyE");
    await page.keyboard.up("KeyI");
    const moved = differing(still, driven, view);
    check(moved > driving, `E and I held did not move the view (${moved} pixels)`);
    // F11 asks the browser for fullscreen, Alt+Enter leaves it.
    await page.keyboard.press("F11");
    await page.waitForFunction(() => !!document.fullscreenElement, {timeout: phaseLimit});
    await page.keyboard.down("Alt");
    await page.keyboard.press("Enter");
    await page.keyboard.up("Alt");
    await page.waitForFunction(() => !document.fullscreenElement, {timeout: phaseLimit});
    await page.keyboard.press("Escape");
    await page.waitForFunction(() => !document.getElementById("ended").hidden, {timeout: phaseLimit});
    const ended = await screenshot(page, "ended");
    await sleep(1000);
    check(differing(ended, await screenshot(page, "ended-later"), whole) === 0,
          "the picture moved after Esc");
    check(!(await visible(page, "failure")), "a failure box after Esc");
    await page.close();
  },

  // Keys are read by the character the layout gives them: on a Dvorak keyboard the keys that type
  // "." and "c" (where QWERTY has E and I) leave the trolley standing, and those that type "e" and
  // "i" drive it. (The browser's layout map here is QWERTY's: the page learns the Dvorak
  // characters of the keys as they are pressed, here during the countdown, which drives nothing.)
  async keysByCharacter(browser, address) {
    const page = await open(browser, address, viewport);
    const dvorakE = ["KeyD", "e"], dvorakI = ["KeyG", "i"], dvorakDot = ["KeyE", "."], dvorakC = ["KeyI", "c"];
    const still = await startAndPlay(page, () => hold(page, [dvorakE, dvorakI, dvorakDot, dvorakC], 100));
    const unmoved = differing(still, await hold(page, [dvorakDot, dvorakC], 1500, "dvorak-dot-c"), view);
    check(unmoved < standing, `the keys typing "." and "c" moved the view (${unmoved} pixels)`);
    const moved = differing(still, await hold(page, [dvorakE, dvorakI], 1500, "dvorak-e-i"), view);
    check(moved > driving, `the keys typing "e" and "i" did not move the view (${moved} pixels)`);
    await page.close();
  },

  // A gamepad with the browser's standard mapping: both sticks up drive (the two hands forward),
  // Y switches to the overhead camera. The page is given a pad of its own (navigator.getGamepads
  // answers with it), set from the test.
  async gamepadDrives(browser, address) {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(() => {
      const pad = {index: 0, id: "test pad", connected: true, mapping: "standard", axes: [0, 0, 0, 0],
                   buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
      window.testPad = pad;
      navigator.getGamepads = () => [pad, null, null, null];
    });
    await page.setViewport(viewport);
    await page.goto(address, {waitUntil: "load"});
    const still = await startAndPlay(page);
    await page.evaluate(() => { window.testPad.axes = [0, -1, 0, -1]; });
    await sleep(1500);
    const driven = await screenshot(page, "pad-driven");
    await page.evaluate(() => { window.testPad.axes = [0, 0, 0, 0]; });
    const moved = differing(still, driven, view);
    check(moved > driving, `both sticks up did not move the view (${moved} pixels)`);
    // From the chase view to the overhead one, which shows the shelves' tops.
    await page.evaluate(() => { window.testPad.buttons[3] = {pressed: true, value: 1}; });
    await sleep(500);
    await page.evaluate(() => { window.testPad.buttons[3] = {pressed: false, value: 0}; });
    await sleep(500);
    const overhead = await screenshot(page, "pad-overhead");
    check(count(driven, whole, shelfTop) < 100 && count(overhead, whole, shelfTop) > 5000,
          "Y did not switch to the overhead camera");
    await page.close();
  },

  // The countdown's beeps reach Web Audio through the game's mixer, and M silences them. What
  // the page plays is read from the buffers it hands to the browser.
  async countdownIsHeard(browser, address) {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(() => {
      window.heard = {buffers: 0, peak: 0};
      const create = AudioContext.prototype.createScriptProcessor;
      AudioContext.prototype.createScriptProcessor = function(...args) {
        const node = create.apply(this, args);
        // What the page's handler has put in each buffer, once it has.
        let handler = null;
        Object.defineProperty(node, "onaudioprocess", {get: () => handler, set: game => { handler = game; }});
        node.addEventListener("audioprocess", event => {
          if (!handler) return;
          handler(event);
          ++window.heard.buffers;
          for (let channel = 0; channel < 2; ++channel)
            for (const sample of event.outputBuffer.getChannelData(channel))
              window.heard.peak = Math.max(window.heard.peak, Math.abs(sample));
        });
        return node;
      };
    });
    await page.setViewport(viewport);
    await page.goto(address, {waitUntil: "load"});
    await page.waitForFunction(() => !document.getElementById("start").hidden, {timeout: loadLimit});
    await page.keyboard.press("Space");
    await page.waitForFunction(() => window.heard.peak > 0.05, {timeout: phaseLimit});
    await page.keyboard.press("KeyM");
    await sleep(300);  // the mute's ramp, and the buffers already made
    const before = await page.evaluate(() => { window.heard.peak = 0; return window.heard.buffers; });
    await sleep(1500);  // a beep a second
    const after = await page.evaluate(() => window.heard);
    check(after.buffers > before, "no sound buffers after M");
    check(after.peak === 0, `M left sound playing (peak ${after.peak})`);
    await page.close();
  },

  // The player's record lives in the page's storage and is kept across a reload: a bad one is set
  // aside under a key of its own (one console line), a good one is believed and its ghost, tinted
  // green, stands on the trolley during the countdown.
  async recordKeptInThePagesStorage(browser, address) {
    const page = await open(browser, address, viewport);
    const record = fs.readFileSync(path.join(__dirname, "..", "data", "autopilot.record")).toString("hex");
    const greenish = (r, g, b) => g > r + 40 && g > b + 20;
    const countdownOf = async name => {
      await page.waitForFunction(() => !document.getElementById("start").hidden, {timeout: loadLimit});
      await page.keyboard.press("Space");
      return until(page, name, image => count(image, centre, white) > 2000 && count(image, centre, black) > 1000);
    };
    await page.evaluate(() => { localStorage.clear(); localStorage.setItem("shelvoy/best-run", "00ff"); });
    await page.reload({waitUntil: "load"});
    const alone = await countdownOf("record-bad");
    const stored = await page.evaluate(() => [localStorage.getItem("shelvoy/best-run"),
                                              localStorage.getItem("shelvoy/best-run.bad")]);
    check(stored[0] === null && stored[1] === "00ff", `the bad record was not set aside (${stored})`);
    check(page.consoleLines.some(line => /^Shelvoy!: the record .* set aside as best-run\.bad/.test(line)),
          "no console line for the bad record");
    check(count(alone, whole, greenish) < 50, "a ghost without a record");

    await page.evaluate(hex => localStorage.setItem("shelvoy/best-run", hex), record);
    await page.reload({waitUntil: "load"});
    const raced = await countdownOf("record-ghost");
    check(count(raced, whole, greenish) > 300, "no ghost of the record in the countdown");
    check(await page.evaluate(() => localStorage.getItem("shelvoy/best-run")) === record,
          "the good record did not stay as it was");
    // Backspace in play: a second run from the countdown, the ghost back on the trolley.
    await until(page, "record-play", image => count(image, centre, black) < 200);
    await page.keyboard.press("Backspace");
    const again = await until(page, "second-run", image =>
        count(image, centre, white) > 2000 && count(image, centre, black) > 1000);
    check(count(again, whole, greenish) > 300, "no ghost in the second run");
    await page.evaluate(() => localStorage.clear());
    await page.close();
  },

  // A page whose font the server does not have: the game reports it in the box, and on the console.
  async missingFontIsReported(browser, address, withoutFont) {
    const page = await open(browser, withoutFont, viewport);
    await page.waitForFunction(() => !document.getElementById("start").hidden, {timeout: loadLimit});
    await page.keyboard.press("Space");
    await page.waitForFunction(() => !document.getElementById("failure").hidden, {timeout: phaseLimit});
    const caption = await page.$eval("#failure-caption", element => element.textContent);
    const text = await page.$eval("#failure-text", element => element.textContent);
    await screenshot(page, "failure");
    check(caption === "Inconceivable!", `the box is captioned "${caption}"`);
    check(/^Cannot load font "Receipt\.ttf"/.test(text), `the box says "${text}"`);
    check(page.consoleLines.some(line => line.startsWith("Inconceivable!: Cannot load font")),
          "the console has no report");
    await page.close();
  },
};

(async () => {
  const server = await serve(folder, []);
  const withoutFont = await serve(folder, ["Receipt.ttf"]);
  const address = `http://127.0.0.1:${server.address().port}/`;
  const browser = await launch();
  let passed = 0, failed = 0;
  for (const [name, run] of Object.entries(cases)) {
    try {
      await run(browser, address, `http://127.0.0.1:${withoutFont.address().port}/`);
      console.log(`ok: ${name}`);
      ++passed;
    } catch (error) {
      console.log(`FAILED: ${name}: ${error.message}`);
      ++failed;
    }
  }
  await browser.done();
  server.close();
  withoutFont.close();
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
})().catch(error => {
  console.error(error);
  process.exit(1);
});
