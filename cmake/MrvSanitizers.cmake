# ASan + UBSan for everything built in this tree (tests included).
if(MRV_SANITIZE)
    set(_mrv_san -fsanitize=address,undefined -fno-sanitize-recover=undefined
                 -fno-omit-frame-pointer)
    add_compile_options(${_mrv_san})
    add_link_options(${_mrv_san})
endif()

# The fuzz build instruments everything it compiles, not only the drivers: the
# parsers live in the libraries, and libFuzzer needs their coverage and the
# sanitizers their reads.
if(MRV_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
