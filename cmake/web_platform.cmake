# Included by the top-level CMakeLists.txt when building for the web (scripts/build-web.sh): how
# the game meets the browser. Everything here is the web build's alone; the desktop builds call
# their system's GLFW and OpenGL as they are.
#   - GLFW: src/platform/web/web_glfw.js, a JavaScript library in place of Emscripten's GLFW, behind
#     GLFW 3.3's own header (from the libraries' prefix: Emscripten's is older).
#   - OpenGL 1.x: Emscripten's fixed-function emulation over WebGL, with src/platform/web/web_gl.cpp
#     in front of it: the calls below reach that file's __wrap_ functions (wasm-ld --wrap), from
#     the game and from FTGL alike; src/platform/web/web_gl.js draws the layer's batches and asks
#     WebGL for its errors once a frame.
#   - GLU: the tessellator, error strings and matrix helpers of Mesa's GLU, from the libraries'
#     prefix (FTGL's .pc file names it).
#   - The loops of the countdown, the play and the results stay loops: Asyncify lets a buffer swap
#     or a wait return to the browser and resume where it was.
#   - Exceptions are C++'s as everywhere (Emscripten's JavaScript-based ones: Asyncify cannot
#     unwind WebAssembly's own).
set(SHELVOY_WEB_GL_WRAPPED glBegin glEnd glVertex2f glVertex2i glVertex3f glColor3f glColor4f
    glNormal3f glTexCoord2f glEnable glDisable glLightfv glLineWidth glPointSize glHint glPolygonMode
    glMatrixMode glClear glViewport glScissor glDepthFunc glBlendFunc glCullFace glFinish)
list(TRANSFORM SHELVOY_WEB_GL_WRAPPED PREPEND -Wl,--wrap= OUTPUT_VARIABLE _web_wrap_options)

target_compile_options(shelvoy_core PUBLIC -fexceptions)
target_link_options(shelvoy_core INTERFACE
    -fexceptions
    "SHELL:--js-library ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/web/web_gl.js"
    "SHELL:--js-library ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/web/web_glfw.js"
    ${_web_wrap_options}
    -sLEGACY_GL_EMULATION=1
    -sGL_UNSAFE_OPTS=0
    -sASYNCIFY=1
    "-sASYNCIFY_IMPORTS=['glfwSwapBuffers','emscripten_sleep']"
    -sASYNCIFY_STACK_SIZE=65536
    -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web,node
    "-sEXPORTED_RUNTIME_METHODS=['FS','ccall','addRunDependency','removeRunDependency']"
    -sFORCE_FILESYSTEM=1)
set_property(TARGET shelvoy_core APPEND PROPERTY INTERFACE_LINK_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/web/web_gl.js ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/web/web_glfw.js)
