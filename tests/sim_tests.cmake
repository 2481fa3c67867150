# Long simulated runs through the real World step, no window: the autopilot that plays the
# built-in store to the end, recorded replays, the random soak. Paths are relative to tests/.
# The fuzz target in fuzz/ is a project of its own (see fuzz/CMakeLists.txt).
set(SHELVOY_SIM_SUPPORT
    support/sim_checks.cpp
    support/sim_random_drive.cpp
    support/autopilot.cpp
    support/replay.cpp
)
set(SHELVOY_SIM_TESTS
    world/autopilot_test.cpp
    world/replay_test.cpp
    world/soak_test.cpp
)
