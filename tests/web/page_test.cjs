// The web build played in Debian's headless Chromium, as a player meets it: the page served over
// HTTP from the build's folder, started with a key, looked at in screenshots.
//   node page_test.cjs <folder with index.html, shelvoy.js, shelvoy.wasm, Receipt.ttf> [png dir]
// Needs puppeteer-core and pngjs (tests/web/package.json) and /usr/bin/chromium. Prints one line
// per case and "N passed, N failed" last; exits 1 when a case failed. With a second argument, the
// screenshots it looked at are kept there. SHELVOY_WEB_CASES=name,name runs those cases alone.
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
    // Where the browser has no Fullscreen API (an iPhone's Safari), F11 does nothing.
    await page.evaluate(() => { window.hadFullscreen = Element.prototype.requestFullscreen;
                                Element.prototype.requestFullscreen = undefined; });
    await page.keyboard.press("F11");
    await sleep(500);
    check(!(await visible(page, "failure")), "F11 without the Fullscreen API stopped the game");
    await page.evaluate(() => { Element.prototype.requestFullscreen = window.hadFullscreen; });
    await page.keyboard.press("Escape");
    await page.waitForFunction(() => !document.getElementById("ended").hidden, {timeout: phaseLimit});
    const ended = await screenshot(page, "ended");
    await sleep(1000);
    check(differing(ended, await screenshot(page, "ended-later"), whole) === 0,
          "the picture moved after Esc");
    check(!(await visible(page, "failure")), "a failure box after Esc");
    // The game has let go of the keyboard: Tab reaches "Play again".
    await page.keyboard.press("Tab");
    await screenshot(page, "ended-tab");
    check(await page.evaluate(() => document.activeElement.id) === "again", "Tab does not reach Play again");
    await page.close();
  },

  // Keys pressed as the page loses the focus (a browser shortcut's find bar takes it before the
  // game has read them), letters held with Cmd when Cmd comes up, and keys held as the page is
  // hidden all let go: the trolley stands. A hidden page is silent, and its sound comes back when
  // it shows; so does sound the browser suspended (an interruption).
  async keysLetGoAndAHiddenPageIsSilent(browser, address) {
    const page = await open(browser, address, viewport);
    const still = await startAndPlay(page);
    const stands = async (name, after) => {
      await page.evaluate(after);
      await sleep(1500);
      const moved = differing(still, await screenshot(page, name), view);
      check(moved < standing, `${name}: the trolley drove itself (${moved} pixels)`);
    };
    await page.evaluate(() => {
      window.press = (type, code, key, extra) =>
          window.dispatchEvent(new KeyboardEvent(type, Object.assign({code, key, bubbles: true}, extra)));
      window.setHidden = hidden => {
        Object.defineProperty(document, "visibilityState", {configurable: true, get: () => hidden ? "hidden" : "visible"});
        Object.defineProperty(document, "hidden", {configurable: true, get: () => hidden});
        document.dispatchEvent(new Event("visibilitychange"));
      };
      window.audioState = () => window.Module.shelvoyAudio[1].context.state;
    });
    await stands("blur", () => {
      press("keydown", "KeyE", "e"); press("keydown", "KeyI", "i"); window.dispatchEvent(new Event("blur"));
    });
    await stands("meta", () => {
      press("keydown", "MetaLeft", "Meta", {metaKey: true});
      press("keydown", "KeyE", "e", {metaKey: true}); press("keydown", "KeyI", "i", {metaKey: true});
      press("keyup", "MetaLeft", "Meta");
    });
    check(await page.evaluate(() => audioState()) === "running", "no sound playing to begin with");
    await stands("hidden", () => { press("keydown", "KeyE", "e"); press("keydown", "KeyI", "i"); setHidden(true); });
    check(await page.evaluate(() => audioState()) === "suspended", "a hidden page's sound plays on");
    await page.evaluate(() => setHidden(false));
    await page.waitForFunction(() => audioState() === "running", {timeout: phaseLimit});
    await page.evaluate(() => window.Module.shelvoyAudio[1].context.suspend());
    await page.evaluate(() => press("keyup", "KeyQ", "q"));  // a gesture that does nothing in the game
    await page.waitForFunction(() => audioState() === "running", {timeout: phaseLimit});
    await page.close();
  },

  // The browser takes the page's WebGL and gives it back: the same run goes on, the store drawn
  // as before. Taken and never given back, the page says so in plain words.
  async aLostContextComesBackOrIsReported(browser, address) {
    const page = await open(browser, address, viewport);
    const still = await startAndPlay(page);
    await page.evaluate(() => {
      window.loser = window.Module.ctx.getExtension("WEBGL_lose_context");
      window.loser.loseContext();
    });
    await sleep(1500);
    await screenshot(page, "context-lost");
    check(!(await visible(page, "failure")), "a failure box once the context was lost");
    await page.evaluate(() => window.loser.restoreContext());
    const back = await until(page, "context-back", image => count(image, whole, shelfBlue) > 20000);
    check(differing(still, back, view) < standing, "the run did not go on where it was");
    const driven = await hold(page, [["KeyE", "e"], ["KeyI", "i"]], 1500, "context-back-driven");
    check(differing(still, driven, view) > driving, "the trolley does not drive after the context came back");
    check(!page.consoleLines.some(line => /GL error/.test(line)), "GL errors on the console");
    await page.evaluate(() => window.loser.loseContext());
    await page.waitForFunction(() => !document.getElementById("failure").hidden, {timeout: phaseLimit});
    await screenshot(page, "context-gone");
    const text = await page.$eval("#failure-text", element => element.textContent);
    check(/^The graphics were lost/.test(text), `the box says "${text}"`);
    check(!(await visible(page, "ended")), "the ended panel over the failure");
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

  // The countdown's beeps reach Web Audio through the game's mixer, at their pitch where the
  // browser runs its audio at a rate of its own (44.1 kHz here, as older Safari does whatever the
  // page asks), and M silences them. Once the game has stopped on an error, the page's sound asks
  // it for nothing more. What the page plays is read from the buffers it hands to the browser.
  async countdownIsHeard(browser, address) {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(() => {
      window.heard = {buffers: 0, peak: 0, pitches: [], context: null};
      const Real = AudioContext;
      window.AudioContext = function(options) {
        window.heard.context = new Real(Object.assign({}, options, {sampleRate: 44100}));
        return window.heard.context;
      };
      const create = Real.prototype.createScriptProcessor;
      Real.prototype.createScriptProcessor = function(...args) {
        const node = create.apply(this, args);
        // What the page's handler has put in each buffer, once it has.
        let handler = null;
        Object.defineProperty(node, "onaudioprocess", {get: () => handler, set: game => { handler = game; }});
        node.addEventListener("audioprocess", event => {
          if (!handler) return;
          handler(event);
          ++window.heard.buffers;
          let peak = 0;
          for (let channel = 0; channel < 2; ++channel)
            for (const sample of event.outputBuffer.getChannelData(channel)) peak = Math.max(peak, Math.abs(sample));
          window.heard.peak = Math.max(window.heard.peak, peak);
          // A beep's pitch from its zero crossings, in a buffer loud all through.
          const left = event.outputBuffer.getChannelData(0);
          let first = -1, last = -1, crossings = 0;
          for (let i = 1; i < left.length; ++i)
            if ((left[i - 1] < 0) !== (left[i] < 0)) { if (first < 0) first = i; last = i; ++crossings; }
          if (peak > 0.05 && crossings > 20)
            window.heard.pitches.push((crossings - 1) / 2 / ((last - first) / event.outputBuffer.sampleRate));
        });
        return node;
      };
    });
    await page.setViewport(viewport);
    await page.goto(address, {waitUntil: "load"});
    await page.waitForFunction(() => !document.getElementById("start").hidden, {timeout: loadLimit});
    await page.keyboard.press("Space");
    await page.waitForFunction(() => window.heard.pitches.length > 0, {timeout: phaseLimit});
    const pitch = await page.evaluate(() => window.heard.pitches[0]);
    check(Math.abs(pitch / 880 - 1) < 0.02, `the 880 Hz beep plays at ${pitch.toFixed(0)} Hz in a 44.1 kHz context`);
    await page.keyboard.press("KeyM");
    await sleep(300);  // the mute's ramp, and the buffers already made
    const before = await page.evaluate(() => { window.heard.peak = 0; return window.heard.buffers; });
    await sleep(1500);  // a beep a second
    const after = await page.evaluate(() => window.heard);
    check(after.buffers > before, "no sound buffers after M");
    check(after.peak === 0, `M left sound playing (peak ${after.peak})`);
    // The game stops on an error no one catches (here the browser's animation frames fail): the
    // sound closes, and asks the dead game for nothing more.
    await page.evaluate(() => { window.requestAnimationFrame = () => { throw new Error("no more frames"); }; });
    await page.waitForFunction(() => !document.getElementById("failure").hidden, {timeout: phaseLimit});
    await sleep(300);
    const atAbort = await page.evaluate(() => window.heard.buffers);
    await sleep(1000);
    const afterAbort = await page.evaluate(() => ({buffers: window.heard.buffers, state: window.heard.context.state}));
    check(afterAbort.buffers === atAbort, `the page asked the stopped game for ${afterAbort.buffers - atAbort} buffers`);
    check(afterAbort.state === "closed", `the sound is ${afterAbort.state} once the game stopped`);
    await page.close();
  },

  // On a fast display the game shows one frame at every animation frame: animation frames faked on
  // a 144 Hz and a 120 Hz grid, in time the fake keeps (the page's clock, and its timers, move only
  // with them), so that how fast this machine draws does not count.
  async oneFrameAtEveryAnimationFrame(browser, address) {
    for (const hz of [144, 120]) {
      const page = await browser.newPage();
      await page.evaluateOnNewDocument(hz => {
        let virtual = 0, pending = [], scheduled = false;
        const realTimeout = window.setTimeout.bind(window);
        performance.now = () => virtual;
        window.setTimeout = (callback, ms, ...rest) => {
          const due = virtual + (ms || 0);
          return realTimeout(() => { virtual = Math.max(virtual, due); callback(...rest); }, ms);
        };
        window.paced = {frames: 0, since: 0};
        window.requestAnimationFrame = callback => {
          pending.push(callback);
          if (scheduled) return 0;
          scheduled = true;
          realTimeout(() => {
            scheduled = false;
            virtual = (Math.floor(virtual * hz / 1000 + 1e-9) + 1) * 1000 / hz;
            ++window.paced.frames;
            const due = pending;
            pending = [];
            due.forEach(f => f(virtual));
          }, 1);
          return 0;
        };
      }, hz);
      await page.setViewport({width: 320, height: 240});
      await page.goto(address, {waitUntil: "load"});
      await page.waitForFunction(() => !document.getElementById("start").hidden, {timeout: loadLimit});
      await page.keyboard.press("Space");
      // Waited for from here, as the page's own waits would ask for animation frames and timers.
      const reading = () => page.evaluate(() => ({frames: window.paced.frames, at: performance.now()}));
      const after = async frames => {
        const end = Date.now() + phaseLimit;
        for (let now = await reading(); ; now = await reading()) {
          if (now.frames >= frames) return now;
          if (Date.now() > end) throw new Error(`${hz} Hz: no more than ${now.frames} frames`);
          await sleep(100);
        }
      };
      const from = await after(20);
      const to = await after(from.frames + 60);
      const rate = (to.frames - from.frames) / ((to.at - from.at) / 1000);
      check(rate > 0.97 * hz, `${hz} Hz: the game showed ${rate.toFixed(1)} frames a second`);
      await page.close();
    }
  },

  // Shelvoy! on a phone (390 x 844 CSS pixels at 3x, touch only): a tap starts it; two thumbs
  // pushed up drive the trolley, one alone turns it, and a lifted or cancelled thumb stops pushing; the page
  // neither scrolls nor zooms, and follows a turn to landscape at once. Loaded once, it loads
  // again with its server gone, and plays.
  async playsOnAPhone(browser) {
    const own = await serve(folder, []);
    const page = await browser.newPage();
    page.consoleLines = [];
    page.on("console", message => page.consoleLines.push(message.text()));
    const portrait = {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true};
    await page.setViewport(portrait);
    await page.goto(`http://127.0.0.1:${own.address().port}/`, {waitUntil: "load"});
    const session = await page.target().createCDPSession();
    const touch = (type, points) => session.send("Input.dispatchTouchEvent",
        {type, touchPoints: points.map(([x, y], id) => ({x, y, id}))});
    const tap = async () => { await touch("touchStart", [[195, 700]]); await touch("touchEnd", []); };
    const pixels = image => image.width * image.height;
    const changed = (a, b) => differing(a, b, [0, 0, a.width, a.height]) / pixels(a);
    const startOnATap = async () => {
      await page.waitForFunction(() => !document.getElementById("start").hidden, {timeout: loadLimit});
      await tap();
      // The countdown's word, white with a black rim, in the middle of the screen.
      return until(page, "phone-countdown", image => {
        const middle = [0, image.height / 3, image.width, 2 * image.height / 3];
        return count(image, middle, white) > 5000 && count(image, middle, black) > 2000;
      });
    };
    check(/thumb on each half/.test(await page.$eval("#start", e => e.textContent)), "the start panel asks for keys");
    await startOnATap();
    await sleep(5000);  // the countdown, and the camera's settling
    const still = await screenshot(page, "phone-play");
    // Standing, the clock and the spinning items change about 1 % of the picture. How soon the
    // trolley has gone far enough depends on this machine's speed: a bound, not a measure.
    const movesAwayFrom = (from, name) => until(page, name, image => changed(from, image) > 0.2);
    await touch("touchStart", [[100, 600], [290, 600]]);
    await touch("touchMove", [[100, 560], [290, 560]]);
    await movesAwayFrom(still, "phone-two-thumbs");
    const sticks = () => page.evaluate(() => window.Module.shelvoyTouchSticks());
    check(JSON.stringify(await sticks()) === "[[0,-1],[0,-1]]", `the sticks read ${JSON.stringify(await sticks())}`);
    await touch("touchEnd", []);
    check(JSON.stringify(await sticks()) === "[[0,0],[0,0]]", "lifted thumbs still push");
    await sleep(1500);
    const stopped = await screenshot(page, "phone-let-go");
    await touch("touchStart", [[100, 600]]);
    await touch("touchMove", [[100, 560]]);
    check(JSON.stringify(await sticks()) === "[[0,-1],[0,0]]", "one thumb leans both sticks");
    await movesAwayFrom(stopped, "phone-one-thumb");
    await touch("touchCancel", []);  // a cancelled touch lets its hand go too
    check(JSON.stringify(await sticks()) === "[[0,0],[0,0]]", "a cancelled thumb still pushes");
    const view = await page.evaluate(() => ({scroll: window.scrollY, zoom: window.visualViewport.scale}));
    check(view.scroll === 0 && view.zoom === 1, `the page scrolled or zoomed: ${JSON.stringify(view)}`);
    // A turn of the phone: the canvas follows at once.
    await page.setViewport(Object.assign({}, portrait, {width: 844, height: 390}));
    await sleep(500);
    await screenshot(page, "phone-landscape");
    const canvas = await page.$eval("#canvas", c => [c.width, c.height]);
    check(canvas[0] === 844 * 3 && canvas[1] === 390 * 3, `the canvas is ${canvas} in landscape`);
    await page.setViewport(portrait);
    // Offline: the service worker's copy serves the page once its server is gone.
    await page.waitForFunction(() => navigator.serviceWorker && !!navigator.serviceWorker.controller,
                               {timeout: phaseLimit});
    await page.evaluate(() => navigator.serviceWorker.ready);
    await own.stop();
    await page.reload({waitUntil: "load"});
    await startOnATap();
    await screenshot(page, "phone-offline");
    await session.detach();
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
  const only = process.env.SHELVOY_WEB_CASES ? process.env.SHELVOY_WEB_CASES.split(",") : null;
  for (const [name, run] of Object.entries(cases)) {
    if (only && !only.includes(name)) continue;
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
