# Drawing code in a real OpenGL context: a hidden GLFW window, read back through feedback
# and glReadPixels. Paths are relative to tests/.
set(SHELVOY_GL_SUPPORT
    support/gl_context.cpp
    support/feedback.cpp
    support/gl_pixels.cpp
    support/allocation_count.cpp
)
set(SHELVOY_GL_TESTS
    render/solids_gl_test.cpp
    render/camera_gl_test.cpp
    render/text_gl_test.cpp
    render/b2debug_gl_test.cpp
    cart/cart_draw_gl_test.cpp
    world/world_draw_gl_test.cpp
    main/frame_gl_test.cpp
    main/keyboard_gl_test.cpp
)
# What only one kind of system has, and needs a display for: X protocol errors; the error box's
# text as Windows shows it.
if(WIN32)
    list(APPEND SHELVOY_GL_TESTS platform/win32_error_box_gl_test.cpp)
else()
    list(APPEND SHELVOY_GL_TESTS platform/x11_display_errors_gl_test.cpp)
endif()
