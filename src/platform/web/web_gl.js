// The web platform's glGetError, in place of Emscripten's: WebGL's own getError waits for the
// browser's GPU process to answer, and the game checks for errors after every group of GL calls,
// dozens of times a frame (a sixth of the page's time in play at 800x600). WebGL's errors are
// asked for once a frame instead, at the animation frame that follows the swap, before the game
// goes on (src/platform/web/web_glfw.js): the browser has drawn the frame by then and answers at
// once. The first check after that reports them, as the first check after the swap always did;
// the errors Emscripten's emulation records itself come at the next check, as they always did.

// The batches of src/platform/web/web_gl.cpp are drawn here, with a program of this layer's own:
// the vertices come in clip coordinates with their colours as bytes, so the program only hands
// them on. The program, the buffer and the attribute arrays are set up at a frame's first batch
// and kept for the frame's others (every WebGL call of a batch costs the browser's GPU process
// too); the swap hands the emulation its own drawing state back as it leaves it itself (no
// program, no buffer, no attribute arrays). The emulation never draws between two batches (every
// glBegin and glEnd goes through web_gl.cpp), and is told to set up any draw of its own anew.

mergeInto(LibraryManager.library, {
  // No __deps on the emulation: the simulation tests link this layer, never draw, and have none.
  $WebGlBatch: {
    program: null,  // made at the first draw, and anew after a lost context (web_glfw.js)
    buffer: null,
    stride: 20,     // bytes a vertex: x, y, z, w as floats, then r, g, b, a as bytes
    bound: false,   // the program, buffer and attribute arrays are set up for the frame's batches

    make: function() {
      var shader = function(type, source) {
        var made = GLctx.createShader(type);
        GLctx.shaderSource(made, source);
        GLctx.compileShader(made);
        return made;
      };
      var program = GLctx.createProgram();
      GLctx.attachShader(program, shader(GLctx.VERTEX_SHADER,
          'attribute vec4 a_position; attribute vec4 a_color; varying vec4 v_color;' +
          'void main() { gl_Position = a_position; v_color = a_color; gl_PointSize = 1.0; }'));
      GLctx.attachShader(program, shader(GLctx.FRAGMENT_SHADER,
          'precision mediump float; varying vec4 v_color; void main() { gl_FragColor = v_color; }'));
      GLctx.bindAttribLocation(program, 0, 'a_position');
      GLctx.bindAttribLocation(program, 1, 'a_color');
      GLctx.linkProgram(program);
      WebGlBatch.program = program;
      WebGlBatch.buffer = GLctx.createBuffer();
    },

    // The swap: the emulation's drawing state back as it leaves it itself.
    release: function() {
      if (!WebGlBatch.bound) return;
      WebGlBatch.bound = false;
      if (!GLctx || GLctx.isContextLost()) return;
      GLctx.disableVertexAttribArray(0);
      GLctx.disableVertexAttribArray(1);
      GLctx.bindBuffer(GLctx.ARRAY_BUFFER, null);
      GLctx.useProgram(null);
    },

    // The context came back empty: the program and buffer are made again at the next draw.
    forget: function() {
      WebGlBatch.program = null;
      WebGlBatch.buffer = null;
      WebGlBatch.bound = false;
    }
  },

  webGlDrawBatch__deps: ['$WebGlBatch'],
  webGlDrawBatch: function(mode, vertices, count) {
    if (!GLctx || GLctx.isContextLost()) return;
    if (GLImmediate.lastRenderer) GLImmediate.lastRenderer.cleanup();
    if (!WebGlBatch.program) WebGlBatch.make();
    var stride = WebGlBatch.stride;
    if (!WebGlBatch.bound) {
      WebGlBatch.bound = true;
      GLctx.useProgram(WebGlBatch.program);
      GLctx.bindBuffer(GLctx.ARRAY_BUFFER, WebGlBatch.buffer);
      GLctx.enableVertexAttribArray(0);
      GLctx.enableVertexAttribArray(1);
      GLctx.vertexAttribPointer(0, 4, GLctx.FLOAT, false, stride, 0);
      GLctx.vertexAttribPointer(1, 4, GLctx.UNSIGNED_BYTE, true, stride, 16);
    }
    GLctx.bufferData(GLctx.ARRAY_BUFFER, HEAPU8.subarray(vertices, vertices + count * stride), GLctx.STREAM_DRAW);
    GLctx.drawArrays(mode, 0, count);
    GLImmediate.lastRenderer = null;
    GLImmediate.lastProgram = null;
    GLImmediate.lastArrayBuffer = null;
    GLImmediate.fixedFunctionProgram = 0;
  },

  $WebGlErrors__deps: ['$GL'],
  $WebGlErrors: {
    pending: 0,  // WebGL's error from the latest frame, until a check takes it
    // Asks WebGL for its error of the frame just drawn (keeping one not yet taken). A lost context
    // is no error of the game's: the page waits for it to come back (src/platform/web/web_glfw.js).
    collect: function() {
      if (!WebGlErrors.pending && typeof GLctx !== 'undefined' && GLctx) {
        var error = GLctx.getError();
        WebGlErrors.pending = error === 0x9242 /* CONTEXT_LOST_WEBGL */ ? 0 : error;
      }
    }
  },

  glGetError__deps: ['$WebGlErrors', '$GL'],
  glGetError: function() {
    // Calls into a lost context fail, and the emulation takes some of them for errors: the page
    // waits for the context to come back (src/platform/web/web_glfw.js) and the game goes on then.
    if (GLctx && GLctx.isContextLost()) {
      WebGlErrors.pending = GL.lastError = 0;
      return 0;
    }
    var error = WebGlErrors.pending || GL.lastError;
    WebGlErrors.pending = 0;
    GL.lastError = 0;
    return error;
  }
});
