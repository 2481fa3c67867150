// GLFW 3.3 in a browser: the calls the game makes, over the page's canvas, WebGL (with
// Emscripten's fixed-function emulation), its keyboard, Gamepad and Fullscreen APIs. Linked with
// --js-library in place of Emscripten's own GLFW, which reads keys by their layout-dependent
// keyCode and lacks key names, scancodes, gamepads, content scales, fullscreen and glfwGetError.
//
// As on the desktop:
// - Events are kept as they come and handed to the game's callbacks inside glfwPollEvents.
// - Keys are GLFW's key tokens for their place on the keyboard (KeyboardEvent.code, the US
//   layout's names), and glfwGetKeyName tells the character the current layout gives a key: from
//   the browser's layout map where it has one (Chromium), and from what each key typed when it
//   was pressed (everywhere), so the game reads its driving keys by character.
// - The window is the canvas, which the page makes fill the browser's window: its size is in CSS
//   pixels, its framebuffer in device pixels, and its content scale the devicePixelRatio.
// - Fullscreen is the browser's (requestFullscreen on the canvas's parent).
// - Gamepads are the browser's with the standard mapping, read afresh at every poll.
// - On a touch screen each half of the page is one hand's stick: a thumb put down anywhere in the
//   left half is the left stick, centred where it landed, and drives as a pad's left stick does
//   (touchTravel CSS pixels, about a centimetre, is the whole travel); the right half is the right
//   stick. The sticks are reported as a gamepad of their own, joystick touchPad, connected from
//   the first touch, and they lean the sticks of any other pad read while a thumb is down. Each
//   shows under its thumb while held, drawn by the page (never in the game's GL), and fades when
//   let go.
// - glfwSwapBuffers hands the frame to the browser and returns at its next animation frame
//   (through Asyncify): the display's pace, as a swap that waits for vertical sync gives it.
// - Keys held, or pressed and not yet handed to the game, are let go when the page loses the focus
//   or is hidden (a browser shortcut such as Ctrl+F takes the focus at once, and the letter's keyup
//   goes elsewhere), and the letters when Meta comes up (macOS sends no letter's keyup while Cmd
//   is held).
// - A lost WebGL context is waited for: the swap returns only once the browser gives it back, and
//   the emulation's WebGL objects are made anew (the display lists, the font's glyphs among them,
//   are this platform's own, in the game's memory, and survive). Where none comes back within
//   lostContextPatience, the page says so and the game ends as though its window were closed.
// - When the game ends, however it ends, the page's listeners go (WebGlfw.end).
// What a page cannot have: no window is ever minimised (a hidden tab's animation frames stop, and
// the game with them), none is closed by the player (the page goes with the tab).

mergeInto(LibraryManager.library, {
  $WebGlfw__deps: ['$Browser', '$GL', '$GLImmediate', '$WebGlErrors', '$WebGlBatch', 'malloc', 'free'],
  $WebGlfw: {
    window: 0,           // the one window's handle (1 while open)
    monitor: 1,          // the one monitor's handle
    errorCallback: 0,
    lastError: 0,
    lastErrorText: 0,    // wasm memory: the latest error's text
    callbacks: {},       // by name: the game's function pointers
    queue: [],           // events waiting for glfwPollEvents
    keysDown: {},        // GLFW key token -> true while held
    keyNames: {},        // KeyboardEvent.code -> what the current layout types there
    nameMemory: {},      // a name -> its copy in wasm memory
    monitorList: 0,      // wasm memory: the array glfwGetMonitors returns
    videoMode: 0,        // wasm memory: the GLFWvidmode glfwGetVideoMode fills
    contentScale: 1,
    connectedPads: [],
    frameTimes: [],      // the latest animation frames' intervals, ms
    lastFrameTime: 0,
    swapped: false,      // whether a frame has been handed to the browser yet
    listeners: [],
    pressed: {},         // GLFW key token -> true from its keydown event until its keyup event
    wakeSwap: null,      // the waiting swap's way back to the game, while one waits
    contextLost: false,  // the WebGL context is gone and not yet given back
    lostTimer: 0,
    lostContextPatience: 5000,  // ms
    touchTravel: 38,     // CSS pixels from a stick's centre to the end of its travel: about 1 cm
    touchPad: 15,        // the joystick the touch sticks are (GLFW_JOYSTICK_LAST)
    touched: false,      // a thumb has been put down: the touch pad is connected
    hands: [null, null], // the left and right thumbs: {id, x0, y0, x, y} in CSS pixels, or null
    stickShapes: [null, null],  // the page's drawing of each stick

    // KeyboardEvent.code -> GLFW key token.
    codeToKey: (function() {
      var table = {
        'Space': 32, 'Quote': 39, 'Comma': 44, 'Minus': 45, 'Period': 46, 'Slash': 47,
        'Semicolon': 59, 'Equal': 61, 'BracketLeft': 91, 'Backslash': 92, 'BracketRight': 93,
        'Backquote': 96, 'IntlBackslash': 162, 'Escape': 256, 'Enter': 257, 'Tab': 258,
        'Backspace': 259, 'Insert': 260, 'Delete': 261, 'ArrowRight': 262, 'ArrowLeft': 263,
        'ArrowDown': 264, 'ArrowUp': 265, 'PageUp': 266, 'PageDown': 267, 'Home': 268, 'End': 269,
        'CapsLock': 280, 'ScrollLock': 281, 'NumLock': 282, 'PrintScreen': 283, 'Pause': 284,
        'NumpadDecimal': 330, 'NumpadDivide': 331, 'NumpadMultiply': 332, 'NumpadSubtract': 333,
        'NumpadAdd': 334, 'NumpadEnter': 335, 'NumpadEqual': 336, 'ShiftLeft': 340,
        'ControlLeft': 341, 'AltLeft': 342, 'MetaLeft': 343, 'ShiftRight': 344,
        'ControlRight': 345, 'AltRight': 346, 'MetaRight': 347, 'ContextMenu': 348
      };
      for (var i = 0; i < 26; ++i) table['Key' + String.fromCharCode(65 + i)] = 65 + i;
      for (var d = 0; d < 10; ++d) {
        table['Digit' + d] = 48 + d;
        table['Numpad' + d] = 320 + d;
      }
      for (var f = 1; f <= 25; ++f) table['F' + f] = 289 + f;
      return table;
    })(),

    // The code of a printable key token (the keys that have layout names), or undefined.
    printableCode: function(key) {
      for (var code in WebGlfw.codeToKey) {
        if (WebGlfw.codeToKey[code] === key) return key < 256 ? code : undefined;
      }
      return undefined;
    },

    error: function(code, text) {
      WebGlfw.lastError = code;
      if (WebGlfw.lastErrorText) _free(WebGlfw.lastErrorText);
      WebGlfw.lastErrorText = allocateUTF8(text);
      if (WebGlfw.errorCallback) {
        getWasmTableEntry(WebGlfw.errorCallback)(code, WebGlfw.lastErrorText);
      }
    },

    call: function(name, args) {
      var callback = WebGlfw.callbacks[name];
      if (callback) getWasmTableEntry(callback).apply(null, args);
    },

    // A key types `name` in the current layout: no other key does (a layout changed since the
    // others were read keeps its characters on other keys).
    learnKeyName: function(code, name) {
      for (var other in WebGlfw.keyNames) {
        if (WebGlfw.keyNames[other] === name && other !== code) delete WebGlfw.keyNames[other];
      }
      WebGlfw.keyNames[code] = name;
    },

    modBits: function(event) {
      return (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0) |
          (event.metaKey ? 8 : 0);
    },

    onKey: function(event, down) {
      var key = WebGlfw.codeToKey[event.code];
      if (key === undefined) return;
      // The browser keeps its own keys: reload, developer tools, and what Ctrl or Cmd ask.
      if (!(event.ctrlKey || event.metaKey || event.code === 'F5' || event.code === 'F12')) {
        event.preventDefault();
      }
      // What the key types in the current layout, taken from an unshifted (or shifted letter)
      // press without other modifiers.
      if (down && event.key.length === 1 && !event.ctrlKey && !event.altKey && !event.metaKey &&
          (!event.shiftKey || event.key.toLowerCase() !== event.key.toUpperCase())) {
        WebGlfw.learnKeyName(event.code, event.key.toLowerCase());
      }
      var action = down ? (event.repeat ? 2 : 1) : 0;
      var mods = WebGlfw.modBits(event);
      if (down) WebGlfw.pressed[key] = true;
      else delete WebGlfw.pressed[key];
      WebGlfw.queue.push(function() {
        if (action === 0) delete WebGlfw.keysDown[key];
        else WebGlfw.keysDown[key] = true;
        WebGlfw.call('key', [WebGlfw.window, key, key, action, mods]);
      });
      // With Cmd held, macOS sends no keyup for the letters pressed meanwhile.
      if (!down && (event.code === 'MetaLeft' || event.code === 'MetaRight')) {
        WebGlfw.releaseKeys(function(key) { return key >= 65 && key <= 90; });
      }
    },

    // Lets go, after whatever the queue holds already, of every key held or pressed since the last
    // poll for which `which(key)` holds (every key without one).
    releaseKeys: function(which) {
      var held = {};
      Object.keys(WebGlfw.keysDown).concat(Object.keys(WebGlfw.pressed)).forEach(function(key) {
        if (!which || which(+key)) held[key] = true;
      });
      Object.keys(held).forEach(function(key) {
        delete WebGlfw.pressed[key];
        WebGlfw.queue.push(function() {
          if (!WebGlfw.keysDown[key]) return;
          delete WebGlfw.keysDown[key];
          WebGlfw.call('key', [WebGlfw.window, +key, +key, 0, 0]);
        });
      });
    },

    // The browser took the page's WebGL (a GPU reset, a driver update, a phone's background tab):
    // the game waits in its next swap for it to come back.
    onContextLost: function(event) {
      event.preventDefault();  // asks for it back
      WebGlfw.contextLost = true;
      clearTimeout(WebGlfw.lostTimer);
      WebGlfw.lostTimer = setTimeout(WebGlfw.giveUpContext, WebGlfw.lostContextPatience);
    },

    // The context is back, empty: the emulation's buffers, programs and extensions are made anew
    // (everything the game draws with is set again at every frame), and the GL layer's program
    // and buffer with them, and the waiting swap returns.
    onContextRestored: function() {
      clearTimeout(WebGlfw.lostTimer);
      WebGlfw.contextLost = false;
      GL.currentContext.initExtensionsDone = false;
      GL.initExtensions(GL.currentContext);
      GLImmediate.init();
      WebGlBatch.forget();  // the GL layer's program and buffer (web_gl.js)
      WebGlErrors.pending = 0;
      GL.lastError = 0;  // what the emulation made of the calls into the lost context
      WebGlfw.resumeSwap();
    },

    // No context came back: the page says so in plain words, and the game ends as it does when
    // its window is closed.
    giveUpContext: function() {
      if (Module['shelvoyShowFailure']) {
        Module['shelvoyShowFailure']('The graphics were lost: the browser took this page\'s WebGL ' +
            'away (a graphics reset, say) and has not given it back. Play again to start anew.');
      }
      WebGlfw.queue.push(function() { WebGlfw.call('close', [WebGlfw.window]); });
      WebGlfw.contextLost = false;
      WebGlfw.resumeSwap();
    },

    // The waiting swap returns at the next animation frame, unless the context is lost.
    resumeSwap: function() {
      if (!WebGlfw.wakeSwap) return;
      requestAnimationFrame(function(time) {
        // A lost context (its event may still be on its way) is waited for: the restore calls again.
        if (WebGlfw.contextLost || GLctx.isContextLost() || !WebGlfw.wakeSwap) return;
        if (WebGlfw.lastFrameTime) {
          WebGlfw.frameTimes.push(time - WebGlfw.lastFrameTime);
          if (WebGlfw.frameTimes.length > 30) WebGlfw.frameTimes.shift();
        }
        WebGlfw.lastFrameTime = time;
        // WebGL's errors of the frame before, once (src/platform/web/web_gl.js): asked here, when
        // the browser has drawn that frame, the answer comes at once; asked as the frame is
        // handed on, it waited for the whole frame to be drawn, and made the browser's GPU
        // process do more work besides.
        WebGlErrors.collect();
        var wakeUp = WebGlfw.wakeSwap;
        WebGlfw.wakeSwap = null;
        wakeUp();
      });
    },

    // A thumb comes down: the hand of its half of the page takes it, unless that hand has one.
    onPointerDown: function(event) {
      if (event.pointerType !== 'touch') return;
      event.preventDefault();
      var side = event.clientX < window.innerWidth / 2 ? 0 : 1;
      if (WebGlfw.hands[side]) return;  // a third thumb, or a second on one half
      WebGlfw.hands[side] = {id: event.pointerId, x0: event.clientX, y0: event.clientY,
                             x: event.clientX, y: event.clientY};
      try { event.target.setPointerCapture(event.pointerId); } catch (ignored) {}
      WebGlfw.touched = true;
      WebGlfw.drawStick(side);
    },

    handOf: function(event) {
      for (var side = 0; side < 2; ++side) {
        var hand = WebGlfw.hands[side];
        if (hand && hand.id === event.pointerId) return side;
      }
      return -1;
    },

    onPointerMove: function(event) {
      var side = WebGlfw.handOf(event);
      if (side < 0) return;
      event.preventDefault();
      WebGlfw.hands[side].x = event.clientX;
      WebGlfw.hands[side].y = event.clientY;
      WebGlfw.drawStick(side);
    },

    // A thumb lifted, cancelled or lost lets its hand go at once.
    onPointerUp: function(event) {
      var side = WebGlfw.handOf(event);
      if (side < 0) return;
      WebGlfw.hands[side] = null;
      WebGlfw.drawStick(side);
    },

    releaseHands: function() {
      for (var side = 0; side < 2; ++side) {
        WebGlfw.hands[side] = null;
        WebGlfw.drawStick(side);
      }
    },

    // A hand's stick as a pad's: x right and y down, each -1 to 1, within the unit circle.
    stick: function(side) {
      var hand = WebGlfw.hands[side];
      if (!hand) return [0, 0];
      var x = (hand.x - hand.x0) / WebGlfw.touchTravel, y = (hand.y - hand.y0) / WebGlfw.touchTravel;
      var length = Math.sqrt(x * x + y * y);
      return length > 1 ? [x / length, y / length] : [x, y];
    },

    // The ring and knob of a stick under its thumb, or fading away once it is let go.
    drawStick: function(side) {
      var shape = WebGlfw.stickShapes[side];
      var hand = WebGlfw.hands[side];
      if (!shape) {
        if (!hand) return;
        var ring = document.createElement('div'), knob = document.createElement('div');
        var size = 2 * WebGlfw.touchTravel;
        ring.className = 'shelvoy-stick';
        ring.style.cssText = 'position:fixed;pointer-events:none;box-sizing:border-box;border-radius:50%;' +
            'border:3px solid rgba(255,255,255,0.7);background:rgba(0,0,0,0.2);transition:opacity 0.3s;' +
            'width:' + size + 'px;height:' + size + 'px;margin:' + (-size / 2) + 'px 0 0 ' + (-size / 2) + 'px';
        knob.style.cssText = 'position:absolute;border-radius:50%;background:rgba(255,255,255,0.8);' +
            'width:' + (size / 2) + 'px;height:' + (size / 2) + 'px;left:' + (size / 4) + 'px;top:' + (size / 4) + 'px';
        ring.appendChild(knob);
        document.body.appendChild(ring);
        shape = WebGlfw.stickShapes[side] = {ring: ring, knob: knob};
      }
      if (!hand) {
        shape.ring.style.opacity = '0';
        return;
      }
      var lean = WebGlfw.stick(side);
      shape.ring.style.opacity = '1';
      shape.ring.style.left = hand.x0 + 'px';
      shape.ring.style.top = hand.y0 + 'px';
      shape.knob.style.transform = 'translate(' + lean[0] * WebGlfw.touchTravel + 'px,' +
          lean[1] * WebGlfw.touchTravel + 'px)';
    },

    // The page's own buttons (index.html) press a key of the game's: a press and a release.
    press: function(key) {
      if (!WebGlfw.window) return;
      [1, 0].forEach(function(action) {
        WebGlfw.queue.push(function() { WebGlfw.call('key', [WebGlfw.window, key, key, action, 0]); });
      });
    },

    // The game has ended, however it ended: the page's listeners go, and with them the keys the
    // page had taken for the game (Tab, Enter and Space work for the page's own buttons again).
    end: function() {
      WebGlfw.listeners.forEach(function(entry) {
        entry[0].removeEventListener(entry[1], entry[2], true);
      });
      WebGlfw.listeners = [];
      clearTimeout(WebGlfw.lostTimer);
      WebGlfw.window = 0;
      WebGlfw.queue = [];
      WebGlfw.keysDown = {};
      WebGlfw.pressed = {};
      WebGlfw.wakeSwap = null;
      WebGlfw.releaseHands();
    },

    // The canvas's drawing buffer follows its size on the page, in device pixels.
    resize: function() {
      var canvas = Module['canvas'];
      var scale = window.devicePixelRatio || 1;
      var width = Math.max(1, Math.round(canvas.clientWidth * scale));
      var height = Math.max(1, Math.round(canvas.clientHeight * scale));
      if (canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
        WebGlfw.queue.push(function() {
          WebGlfw.call('framebufferSize', [WebGlfw.window, width, height]);
        });
      }
      if (scale !== WebGlfw.contentScale) {
        WebGlfw.contentScale = scale;
        WebGlfw.queue.push(function() {
          WebGlfw.call('contentScale', [WebGlfw.window, scale, scale]);
        });
      }
    },

    pads: function() {
      return navigator.getGamepads ? navigator.getGamepads() : [];
    },

    // Connections and disconnections since the last poll, as joystick events.
    refreshPads: function() {
      var pads = WebGlfw.pads();
      for (var jid = 0; jid < 16; ++jid) {
        var present = jid === WebGlfw.touchPad ? WebGlfw.touched : !!(pads[jid] && pads[jid].connected);
        if (present !== !!WebGlfw.connectedPads[jid]) {
          WebGlfw.connectedPads[jid] = present;
          if (WebGlfw.callbacks['joystick']) {
            getWasmTableEntry(WebGlfw.callbacks['joystick'])(jid, present ? 0x40001 : 0x40002);
          }
        }
      }
    },

    listen: function(target, type, handler) {
      target.addEventListener(type, handler, true);
      WebGlfw.listeners.push([target, type, handler]);
    },

    // The display's refresh rate as the browser's animation frames show it, Hz (0 before there
    // are enough of them): the median of the latest intervals.
    refreshRate: function() {
      if (WebGlfw.frameTimes.length < 10) return 0;
      var sorted = WebGlfw.frameTimes.slice().sort(function(a, b) { return a - b; });
      var median = sorted[sorted.length >> 1];
      return median > 0 ? Math.round(1000 / median) : 0;
    }
  },

  glfwInit__deps: ['$WebGlfw'],
  glfwInit: function() {
    // The page calls every function of this list once the game has ended (index.html).
    Module['shelvoyAtEnd'] = Module['shelvoyAtEnd'] || [];
    if (Module['shelvoyAtEnd'].indexOf(WebGlfw.end) < 0) Module['shelvoyAtEnd'].push(WebGlfw.end);
    WebGlfw.monitorList = _malloc(4);
    HEAP32[WebGlfw.monitorList >> 2] = WebGlfw.monitor;
    WebGlfw.videoMode = _malloc(24);
    if (navigator.keyboard && navigator.keyboard.getLayoutMap) {
      navigator.keyboard.getLayoutMap().then(function(map) {
        var named = Object.keys(WebGlfw.keyNames).map(function(code) { return WebGlfw.keyNames[code]; });
        map.forEach(function(value, code) {
          var name = value.toLowerCase();
          if (!(code in WebGlfw.keyNames) && named.indexOf(name) < 0) WebGlfw.keyNames[code] = name;
        });
      }, function() {});
    }
    return 1;
  },

  glfwTerminate: function() {
    WebGlfw.end();
  },

  glfwSetErrorCallback: function(callback) {
    var previous = WebGlfw.errorCallback;
    WebGlfw.errorCallback = callback;
    return previous;
  },

  glfwGetError: function(description) {
    var code = WebGlfw.lastError;
    if (description) HEAP32[description >> 2] = code ? WebGlfw.lastErrorText : 0;
    WebGlfw.lastError = 0;
    return code;
  },

  glfwWindowHint: function(hint, value) {},

  glfwCreateWindow: function(width, height, title, monitor, share) {
    var canvas = Module['canvas'];
    if (!canvas) {
      WebGlfw.error(0x10008, 'the page has no canvas for the game');
      return 0;
    }
    var context = Browser.createContext(canvas, true, true,
        {antialias: false, depth: true, stencil: false, alpha: false});
    if (!context) {
      WebGlfw.error(0x10006, 'this browser gives the page no WebGL');
      return 0;
    }
    WebGlfw.window = 1;
    WebGlfw.contentScale = window.devicePixelRatio || 1;
    WebGlfw.resize();
    WebGlfw.queue = [];  // the size is read once the callback is set
    WebGlfw.listen(window, 'keydown', function(event) { WebGlfw.onKey(event, true); });
    WebGlfw.listen(window, 'keyup', function(event) { WebGlfw.onKey(event, false); });
    WebGlfw.listen(window, 'resize', WebGlfw.resize);
    WebGlfw.listen(document, 'fullscreenchange', WebGlfw.resize);
    // Keys held while the page loses the focus, or is hidden, are released there.
    WebGlfw.listen(window, 'blur', function() {
      WebGlfw.releaseKeys();
      WebGlfw.releaseHands();
    });
    WebGlfw.listen(document, 'visibilitychange', function() {
      if (document.visibilityState === 'hidden') {
        WebGlfw.releaseKeys();
        WebGlfw.releaseHands();
      }
    });
    WebGlfw.listen(canvas, 'pointerdown', WebGlfw.onPointerDown);
    WebGlfw.listen(window, 'pointermove', WebGlfw.onPointerMove);
    ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function(type) {
      WebGlfw.listen(window, type, WebGlfw.onPointerUp);
    });
    WebGlfw.listen(window, 'orientationchange', WebGlfw.resize);
    // The two touch sticks as the game reads them (for the page's tests): [[x, y], [x, y]].
    Module['shelvoyTouchSticks'] = function() { return [WebGlfw.stick(0), WebGlfw.stick(1)]; };
    Module['shelvoyPress'] = function(code) {
      if (code in WebGlfw.codeToKey) WebGlfw.press(WebGlfw.codeToKey[code]);
    };
    WebGlfw.listen(canvas, 'webglcontextlost', WebGlfw.onContextLost);
    WebGlfw.listen(canvas, 'webglcontextrestored', WebGlfw.onContextRestored);
    WebGlfw.refreshPads();
    return WebGlfw.window;
  },

  glfwMakeContextCurrent: function(window) {},
  glfwSwapInterval: function(interval) {},

  glfwSetWindowTitle: function(window, title) {
    document.title = UTF8ToString(title);
  },

  glfwSwapBuffers__deps: ['$Asyncify', '$WebGlBatch', 'webGlEndFrame'],
  glfwSwapBuffers: function(window) {
    _webGlEndFrame();  // the GL layer's last batch of the frame (src/platform/web/web_gl.cpp)
    WebGlBatch.release();  // and the drawing state its batches kept (src/platform/web/web_gl.js)
    // The first frame on screen, for the page's timeline (scripts/bench.sh reads it).
    if (!WebGlfw.swapped) {
      WebGlfw.swapped = true;
      performance.mark('shelvoy-first-frame');
    }
    return Asyncify.handleSleep(function(wakeUp) {
      WebGlfw.wakeSwap = wakeUp;
      WebGlfw.resumeSwap();
    });
  },

  glfwPollEvents: function() {
    var events = WebGlfw.queue;
    WebGlfw.queue = [];
    events.forEach(function(event) { event(); });
    WebGlfw.refreshPads();
  },

  glfwSetFramebufferSizeCallback: function(window, callback) {
    WebGlfw.callbacks['framebufferSize'] = callback;
  },
  glfwSetWindowCloseCallback: function(window, callback) {
    WebGlfw.callbacks['close'] = callback;
  },
  glfwSetKeyCallback: function(window, callback) {
    WebGlfw.callbacks['key'] = callback;
  },
  glfwSetWindowContentScaleCallback: function(window, callback) {
    WebGlfw.callbacks['contentScale'] = callback;
  },
  glfwSetWindowIconifyCallback: function(window, callback) {
    WebGlfw.callbacks['iconify'] = callback;
  },
  glfwSetWindowPosCallback: function(window, callback) {
    WebGlfw.callbacks['position'] = callback;
  },
  glfwSetMonitorCallback: function(callback) {
    WebGlfw.callbacks['monitor'] = callback;
  },
  glfwSetJoystickCallback: function(callback) {
    WebGlfw.callbacks['joystick'] = callback;
  },

  glfwGetFramebufferSize: function(window, width, height) {
    var canvas = Module['canvas'];
    if (width) HEAP32[width >> 2] = canvas.width;
    if (height) HEAP32[height >> 2] = canvas.height;
  },

  glfwGetWindowSize: function(window, width, height) {
    var canvas = Module['canvas'];
    if (width) HEAP32[width >> 2] = canvas.clientWidth;
    if (height) HEAP32[height >> 2] = canvas.clientHeight;
  },

  glfwGetWindowPos: function(window, x, y) {
    if (x) HEAP32[x >> 2] = 0;
    if (y) HEAP32[y >> 2] = 0;
  },

  glfwGetWindowContentScale: function(window, x, y) {
    if (x) HEAPF32[x >> 2] = WebGlfw.contentScale;
    if (y) HEAPF32[y >> 2] = WebGlfw.contentScale;
  },

  glfwGetMonitorContentScale: function(monitor, x, y) {
    var scale = window.devicePixelRatio || 1;
    if (x) HEAPF32[x >> 2] = scale;
    if (y) HEAPF32[y >> 2] = scale;
  },

  glfwGetPrimaryMonitor: function() { return WebGlfw.monitor; },

  glfwGetMonitors: function(count) {
    HEAP32[count >> 2] = 1;
    return WebGlfw.monitorList;
  },

  glfwGetMonitorPos: function(monitor, x, y) {
    if (x) HEAP32[x >> 2] = 0;
    if (y) HEAP32[y >> 2] = 0;
  },

  // The screen in CSS pixels, 8 bits a colour, at the refresh rate the animation frames show.
  glfwGetVideoMode: function(monitor) {
    var mode = WebGlfw.videoMode >> 2;
    HEAP32[mode] = screen.width;
    HEAP32[mode + 1] = screen.height;
    HEAP32[mode + 2] = HEAP32[mode + 3] = HEAP32[mode + 4] = 8;
    HEAP32[mode + 5] = WebGlfw.refreshRate();
    return WebGlfw.videoMode;
  },

  glfwGetWindowMonitor: function(window) {
    return document.fullscreenElement ? WebGlfw.monitor : 0;
  },

  // A monitor asks for the browser's fullscreen (the page's own, on the canvas's parent); none
  // leaves it. Position, size and rate are the browser's to choose.
  // Without the Fullscreen API (an iPhone's Safari), nothing happens.
  glfwSetWindowMonitor: function(window, monitor, x, y, width, height, refreshRate) {
    var target = Module['canvas'].parentElement || Module['canvas'];
    if (monitor ? !target.requestFullscreen : !document.exitFullscreen) return;
    var request = monitor ? (document.fullscreenElement ? null : target.requestFullscreen()) :
                            (document.fullscreenElement ? document.exitFullscreen() : null);
    if (request) {
      request.catch(function(why) {
        console.warn('Shelvoy!: the browser refused fullscreen: ' + why);
      });
    }
  },

  glfwGetKey: function(window, key) {
    return WebGlfw.keysDown[key] ? 1 : 0;
  },

  glfwGetKeyScancode: function(key) {
    for (var code in WebGlfw.codeToKey) {
      if (WebGlfw.codeToKey[code] === key) return key;
    }
    return -1;
  },

  glfwGetKeyName: function(key, scancode) {
    var code = WebGlfw.printableCode(key !== -1 ? key : scancode);
    var name = code !== undefined ? WebGlfw.keyNames[code] : undefined;
    if (name === undefined) return 0;
    if (!(name in WebGlfw.nameMemory)) WebGlfw.nameMemory[name] = allocateUTF8(name);
    return WebGlfw.nameMemory[name];
  },

  glfwJoystickPresent: function(jid) {
    if (jid === WebGlfw.touchPad) return WebGlfw.touched ? 1 : 0;
    var pad = WebGlfw.pads()[jid];
    return pad && pad.connected ? 1 : 0;
  },

  glfwJoystickIsGamepad: function(jid) {
    if (jid === WebGlfw.touchPad) return WebGlfw.touched ? 1 : 0;
    var pad = WebGlfw.pads()[jid];
    return pad && pad.connected && pad.mapping === 'standard' ? 1 : 0;
  },

  // The standard mapping's buttons and axes in GLFW's order: A, B, X, Y, LB, RB, Back, Start,
  // Guide, the thumbs, then the pad's up, right, down and left; the sticks (down and right
  // positive in both), then the triggers from -1 to 1.
  // The touch pad has its sticks and no buttons; a thumb that is down leans its stick on any pad.
  glfwGetGamepadState: function(jid, state) {
    var touch = jid === WebGlfw.touchPad;
    var pad = touch ? {buttons: [], axes: []} : WebGlfw.pads()[jid];
    if (touch ? !WebGlfw.touched : !pad || !pad.connected || pad.mapping !== 'standard') return 0;
    var order = [0, 1, 2, 3, 4, 5, 8, 9, 16, 10, 11, 12, 15, 13, 14];
    for (var i = 0; i < order.length; ++i) {
      var button = pad.buttons[order[i]];
      HEAPU8[state + i] = button && button.pressed ? 1 : 0;
    }
    var axes = (state + 16) >> 2;
    for (var a = 0; a < 4; ++a) HEAPF32[axes + a] = pad.axes[a] || 0;
    for (var side = 0; side < 2; ++side) {
      if (!WebGlfw.hands[side]) continue;
      var lean = WebGlfw.stick(side);
      HEAPF32[axes + 2 * side] = lean[0];
      HEAPF32[axes + 2 * side + 1] = lean[1];
    }
    for (var t = 0; t < 2; ++t) {
      var trigger = pad.buttons[6 + t];
      HEAPF32[axes + 4 + t] = (trigger ? trigger.value : 0) * 2 - 1;
    }
    return 1;
  }
});
