# The key=value file component: parsing, lookup, exact bytes written, numbers, crash safety.
quintaro_add_test(keyvalue_test
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/KeyValueFileTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/NumberTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/CrashSafetyTest.cpp
    LIBS quintaro_keyvalue)

# The settings read at start-up into the game state.
quintaro_add_test(startup_settings_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/StartupSettingsTest.cpp
    LIBS quintaro_state)
