# Warnings for our own targets: call mrv_warnings(target).
function(mrv_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                             -Wno-missing-field-initializers)
endfunction()
