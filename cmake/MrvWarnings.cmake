# Warnings for our own targets: call mrv_warnings(target) for every target that
# compiles our code. MRV_WERROR turns them into errors (scripts/build sets it in CI).
option(MRV_WERROR "Treat compiler warnings as errors" OFF)

function(mrv_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                             -Wno-missing-field-initializers)
    if(MRV_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
