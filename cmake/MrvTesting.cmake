# mrv_add_qtest(NAME <name> LABEL <unit|gui|lab|e2e|fuzz> SOURCES ... LIBS ... [TIMEOUT s])
# Builds a QtTest executable and registers it with CTest under the label.
# gui tests run on the offscreen platform; a test that exits 77 counts as skipped.
function(mrv_add_qtest)
    cmake_parse_arguments(T "" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
    mrv_warnings(${T_NAME})
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT}
                                              SKIP_RETURN_CODE 77)
    if(T_LABEL STREQUAL "gui" OR T_LABEL STREQUAL "unit")
        set_property(TEST ${T_NAME} APPEND PROPERTY ENVIRONMENT
                     "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
    endif()
endfunction()

# mrv_add_script_test(NAME <name> LABEL <lab|e2e> COMMAND ... [TIMEOUT s])
# Registers a shell-driven test (lab and end-to-end). Exit 77 means skipped.
function(mrv_add_script_test)
    cmake_parse_arguments(T "" "NAME;LABEL;TIMEOUT" "COMMAND" ${ARGN})
    add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${T_NAME} PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT}
                                              SKIP_RETURN_CODE 77)
    set_property(TEST ${T_NAME} APPEND PROPERTY ENVIRONMENT
                 "MRV_BUILD_DIR=${PROJECT_BINARY_DIR};MRV_SOURCE_DIR=${PROJECT_SOURCE_DIR};LC_ALL=C.UTF-8")
endfunction()

# mrv_add_fuzz_target(NAME <name> SOURCE <driver.cpp> LIBS ... CORPUS <dir>)
# The driver defines LLVMFuzzerTestOneInput. In the fuzz build (clang, MRV_FUZZ)
# it links libFuzzer; in every other build it links a small main that replays
# the seed corpus and every saved crash reproducer (crashes/<name>/ beside the
# driver), registered as a "fuzz" test.
function(mrv_add_fuzz_target)
    cmake_parse_arguments(F "" "NAME;SOURCE;CORPUS" "LIBS" ${ARGN})
    if(MRV_FUZZ)
        add_executable(${F_NAME} ${F_SOURCE})
        target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
        target_include_directories(${F_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
        # Tells tests/fuzz/run-fuzzers where the seeds live.
        file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${F_NAME}.corpus "${F_CORPUS}\n")
    else()
        add_executable(${F_NAME}_replay ${F_SOURCE}
                       ${PROJECT_SOURCE_DIR}/tests/testsupport/FuzzReplayMain.cpp)
        target_link_libraries(${F_NAME}_replay PRIVATE ${F_LIBS})
        target_include_directories(${F_NAME}_replay PRIVATE ${PROJECT_SOURCE_DIR})
        # Crash reproducers are kept beside the seeds in crashes/<name>/.
        add_test(NAME ${F_NAME}_replay
                 COMMAND ${F_NAME}_replay ${F_CORPUS}
                         ${CMAKE_CURRENT_SOURCE_DIR}/crashes/${F_NAME})
        set_tests_properties(${F_NAME}_replay PROPERTIES LABELS fuzz TIMEOUT 120)
    endif()
endfunction()
