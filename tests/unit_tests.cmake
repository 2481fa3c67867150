# The rules of the game: no window, no GL context.
set(SHELVOY_UNIT_TESTS
    world/world_test.cpp
    world/counter_layout_test.cpp
    world/store_cells_test.cpp
    world/drive_test.cpp
    cart/cart_test.cpp
    sound/mixer_test.cpp
    sound/sound_cues_test.cpp
    render/camera_test.cpp
    render/font_test.cpp
    render/text_layout_test.cpp
    main/keyboard_test.cpp
    main/shell_test.cpp
    platform/data_file_test.cpp
    platform/float_math_test.cpp
    platform/stream_resampler_test.cpp
    record/record_keeper_test.cpp
)
# What only one kind of system has: FIFOs, users, glibc's locales and allocator; named pipes and
# devices, the system's timers; SDL's entry points taken by the test itself.
if(WIN32)
    list(APPEND SHELVOY_UNIT_TESTS
        platform/win32_clock_test.cpp
        platform/win32_data_file_test.cpp)
else()
    list(APPEND SHELVOY_UNIT_TESTS
        main/keyboard_locale_test.cpp
        main/posix_shell_test.cpp
        platform/glibc_memory_test.cpp
        platform/posix_data_file_test.cpp
        platform/sdl_audio_device_test.cpp)
endif()
