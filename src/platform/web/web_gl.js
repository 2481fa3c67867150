// The web platform's glGetError, in place of Emscripten's: WebGL's own getError waits for the
// browser's GPU process to answer, and the game checks for errors after every group of GL calls,
// dozens of times a frame (a sixth of the page's time in play at 800x600). WebGL's errors are
// asked for once a frame instead, as the frame is handed to the browser (src/platform/web/web_glfw.js),
// and the first check after that reports them; the errors Emscripten's emulation records itself
// come at the next check, as they always did.

mergeInto(LibraryManager.library, {
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
