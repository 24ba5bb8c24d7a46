# orvane_add_test(NAME name [GUI] SOURCES ... LIBS ...)
# One GoogleTest executable; every test case becomes a CTest test. Tests run with
# ORVANE_HOME pointing at a fresh temporary folder and the offscreen Qt platform.
include(GoogleTest)

function(orvane_add_test)
    cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    if(T_GUI)
        target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} orvane_guitestsupport GTest::gtest GTest::gmock)
    else()
        target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} orvane_testsupport GTest::gtest GTest::gmock)
    endif()
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    gtest_discover_tests(${T_NAME}
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORVANE_BIN_DIR=${ORVANE_BIN_DIR}")
endfunction()
