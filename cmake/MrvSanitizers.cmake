# ASan + UBSan for everything built in this tree (tests included).
if(MRV_SANITIZE)
    set(_mrv_san -fsanitize=address,undefined -fno-sanitize-recover=undefined
                 -fno-omit-frame-pointer)
    add_compile_options(${_mrv_san})
    add_link_options(${_mrv_san})
endif()
