# The rules of the game: no window, no GL context.
set(SHELVOY_UNIT_TESTS
    world/world_test.cpp
    world/counter_layout_test.cpp
    world/drive_test.cpp
    cart/cart_test.cpp
    render/camera_test.cpp
    render/font_test.cpp
    render/text_layout_test.cpp
    main/keyboard_test.cpp
    main/shell_test.cpp
    platform/data_file_test.cpp
)
