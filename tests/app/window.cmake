add_library(quintaro_app_test_support STATIC TestSupport.cpp TestSupport.h)
target_include_directories(quintaro_app_test_support PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_definitions(quintaro_app_test_support PUBLIC
    QUINTARO_ASSETS_DIR="${PROJECT_SOURCE_DIR}/assets")
target_link_libraries(quintaro_app_test_support PUBLIC quintaro_rules Qt6::Widgets)

quintaro_add_test(turnflow_test SOURCES TurnFlowTest.cpp
    LIBS quintaro_turnflow quintaro_memboard quintaro_app_test_support)

quintaro_add_test(mainwindow_test SOURCES MainWindowTest.cpp QtTestMain.cpp
    LIBS quintaro_window quintaro_memboard quintaro_app_test_support Qt6::Test)

quintaro_add_test(menu_test SOURCES MenuTest.cpp QtTestMain.cpp
    LIBS quintaro_window quintaro_app_test_support Qt6::Test)
