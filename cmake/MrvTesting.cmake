# A cross build's test programs run under wine, and only inside the lab that
# tests/lab/app/windows_programs_wine_test.sh makes for them (tools/lab/wine-run).
if(CMAKE_CROSSCOMPILING AND WIN32 AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tools/lab/wine-run)
endif()

# mrv_add_test(<file> [TIMING] [TIMEOUT s] [SOURCES ...] [LIBS ...] [ARGS ...] [RUNNER ...])
#
# One test from one file in tests/<kind>/<part>/, registered under the file's
# name without its extension and labelled with its kind (unit, gui, lab, e2e,
# fuzz). <part> is the product folder the test is about, one that holds
# sources itself: discovery, app, or one of platform's layers (platform/os,
# platform/net, platform/gui), never platform alone.
#
#   <Thing>Test.cpp  a QtTest executable; SOURCES are further files of it, LIBS
#                    what it links (both also for a fuzz driver)
#   <Thing>Fuzz.cpp  a libFuzzer driver (LLVMFuzzerTestOneInput) with its seeds
#                    in corpus/<Thing>Fuzz/ and its crash reproducers in
#                    crashes/<Thing>Fuzz/. The fuzz build (MRV_FUZZ) makes it a
#                    fuzzer for tests/fuzz/run-fuzzers; every other build a
#                    replay of the seeds and reproducers
#   <thing>_test.sh  run by bash with ARGS
#   <thing>_test.*   run as RUNNER <file> ARGS
#
# NAME names a script test other than by its file, for a script run with
# several sets of ARGS.
# TIMING marks a test that measures wall time: it is labelled "timing" as
# well and runs alone, so that a busy machine does not fail it.
# Exit status 77 counts as skipped (no lab, no desktop tools).
function(mrv_add_test file)
    cmake_parse_arguments(T "TIMING" "TIMEOUT;NAME" "SOURCES;LIBS;ARGS;RUNNER" ${ARGN})
    if(T_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "mrv_add_test(${file}): unknown arguments ${T_UNPARSED_ARGUMENTS}")
    endif()
    cmake_path(GET file STEM LAST_ONLY name)
    cmake_path(GET file EXTENSION LAST_ONLY extension)
    set(path ${CMAKE_CURRENT_SOURCE_DIR}/${file})

    # The folder names the kind and the product part: tests/<kind>/<part>,
    # where <part> may be more than one level deep (platform/os).
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
    string(REPLACE "/" ";" folder_parts "${folder}")
    list(LENGTH folder_parts depth)
    list(GET folder_parts 0 kind)
    if(depth LESS 2 OR NOT kind MATCHES "^(unit|gui|lab|e2e|fuzz)$")
        message(FATAL_ERROR "${path}: tests live in tests/<unit|gui|lab|e2e|fuzz>/<part>/")
    endif()
    list(SUBLIST folder_parts 1 -1 part_parts)
    list(JOIN part_parts "/" part)
    file(GLOB part_sources ${PROJECT_SOURCE_DIR}/${part}/*.cpp ${PROJECT_SOURCE_DIR}/${part}/*.h)
    if(NOT part_sources)
        message(FATAL_ERROR "${path}: ${part}/ is not a product folder with sources of its own"
                            " (tests/${folder} must mirror one, e.g. platform/os)")
    endif()
    if(NOT EXISTS ${path})
        message(FATAL_ERROR "${path}: no such file")
    endif()

    # A cross build makes the C++ tests that its Qt can build; the script
    # tests drive Linux programs in the lab and belong to a native build.
    if(CMAKE_CROSSCOMPILING)
        if(NOT extension STREQUAL ".cpp")
            return()
        endif()
        foreach(lib IN LISTS T_LIBS)
            if(lib MATCHES "^Qt6::" AND NOT TARGET ${lib})
                message(STATUS "${name}: not built here (no ${lib} in this Qt)")
                return()
            endif()
        endforeach()
    endif()

    if(kind STREQUAL "fuzz")
        if(NOT extension STREQUAL ".cpp" OR NOT name MATCHES "^[A-Z][A-Za-z0-9]*Fuzz$")
            message(FATAL_ERROR "${path}: a fuzz driver is <Thing>Fuzz.cpp")
        endif()
        _mrv_add_fuzz(${name} ${path} "${T_LIBS}" "${T_SOURCES}")
        if(NOT MRV_FUZZ)
            set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 120)
        endif()
        return()
    endif()

    if(extension STREQUAL ".cpp")
        if(NOT name MATCHES "^[A-Z][A-Za-z0-9_]*Test$")
            message(FATAL_ERROR "${path}: a C++ test is <Thing>Test.cpp")
        endif()
        add_executable(${name} ${file} ${T_SOURCES})
        target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
        target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
        mrv_warnings(${name})
        add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
        set(default_timeout 120)
    else()
        if(NOT name MATCHES "^[a-z][a-z0-9_]*_test$")
            message(FATAL_ERROR "${path}: a script test is <thing>_test${extension}")
        endif()
        if(T_RUNNER)
            set(command ${T_RUNNER} ${path})
        elseif(extension STREQUAL ".sh")
            set(command bash ${path})
        else()
            message(FATAL_ERROR "${path}: say which RUNNER runs it")
        endif()
        if(T_NAME) # one script run several ways
            set(name ${T_NAME})
        endif()
        add_test(NAME ${name} COMMAND ${command} ${T_ARGS})
        set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT
                     "MRV_BUILD_DIR=${PROJECT_BINARY_DIR};MRV_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
        set(default_timeout 300)
    endif()

    if(NOT T_TIMEOUT)
        set(T_TIMEOUT ${default_timeout})
    endif()
    set(labels ${kind})
    if(T_TIMING)
        list(APPEND labels timing)
        set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT ${T_TIMEOUT}
                                            SKIP_RETURN_CODE 77)
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "LC_ALL=C.UTF-8")
    if(WIN32)
        # Windows' own platform plugin, on the display the wine test gives,
        # with the fonts the system has. Without a console window Qt sends
        # its messages, QtTest's report among them, to the debugger; under
        # wine that is nowhere.
        set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "QT_FORCE_STDERR_LOGGING=1")
    elseif(kind STREQUAL "unit" OR kind STREQUAL "gui")
        set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()
endfunction()

# The two builds of a fuzz driver: see mrv_add_test.
function(_mrv_add_fuzz name path libs sources)
    set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
    set(crashes ${CMAKE_CURRENT_SOURCE_DIR}/crashes/${name})
    if(NOT IS_DIRECTORY ${corpus})
        message(FATAL_ERROR "${path}: its seeds belong in ${corpus}/")
    endif()
    add_executable(${name} ${path} ${sources})
    target_link_libraries(${name} PRIVATE ${libs})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    mrv_warnings(${name})
    if(MRV_FUZZ)
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
        # Tells tests/fuzz/run-fuzzers where the seeds live and where a crash goes.
        file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}.corpus "${corpus}\n${crashes}\n")
    else()
        target_link_libraries(${name} PRIVATE testsupport_fuzz_replay)
        add_test(NAME ${name} COMMAND ${name} ${corpus} ${crashes})
    endif()
endfunction()

