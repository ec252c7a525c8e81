# System DLLs from System32 only, never from beside the exe.
#
# Windows resolves an exe's imports from the exe's own folder first, except
# for the KnownDLLs. A program run from Downloads, next to a DLL someone put
# there, would load that DLL. The load-configuration flag that would stop it
# (DependentLoadFlags) cannot be set with this linker, and wine ignores it
# anyway. So the system DLLs that are not KnownDLLs are delay-loaded instead:
# they load at their first call, after SystemDllsOnly.cpp has limited the
# search to System32 with SetDefaultDllDirectories.
#
# mrv_system_dlls_only(TARGET): the delay-loading import libraries, named as
# the toolchain's own (libdwmapi.a, ...), come first in TARGET's library path,
# so every -ldwmapi of Qt's and ours takes them.

# The DLLs the programs import that are not KnownDLLs on Windows 10/11 (the
# Direct3D ones for Qt's painting back ends).
set(MRV_DELAY_LOADED_DLLS d3d9 d3d11 dxgi dwmapi dwrite iphlpapi netapi32 userenv uxtheme version winmm
    wtsapi32 mpr crypt32 dnsapi authz)

function(mrv__delay_libraries out_dir)
    find_program(MRV_DLLTOOL NAMES ${MRV_MINGW_PREFIX}-dlltool dlltool REQUIRED)
    find_program(MRV_NM NAMES ${MRV_MINGW_PREFIX}-nm nm REQUIRED)
    file(MAKE_DIRECTORY ${out_dir})
    foreach(dll IN LISTS MRV_DELAY_LOADED_DLLS)
        set(delay_lib ${out_dir}/lib${dll}.a)
        if(EXISTS ${delay_lib})
            continue()
        endif()
        find_library(MRV_IMPORT_LIB_${dll} NAMES lib${dll}.a NO_CACHE)
        if(NOT MRV_IMPORT_LIB_${dll})
            message(FATAL_ERROR "no import library lib${dll}.a for ${dll}.dll")
        endif()
        # The functions the toolchain's import library names, as a .def file.
        execute_process(COMMAND ${MRV_NM} -g --defined-only ${MRV_IMPORT_LIB_${dll}}
                        OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
        string(REGEX MATCHALL "[0-9a-f]+ T [A-Za-z_][A-Za-z0-9_@]*" symbols "${symbols}")
        list(TRANSFORM symbols REPLACE "^[0-9a-f]+ T " "")
        list(REMOVE_DUPLICATES symbols)
        list(JOIN symbols "\n" exports)
        file(WRITE ${out_dir}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
        execute_process(COMMAND ${MRV_DLLTOOL} --input-def ${out_dir}/${dll}.def
                                --output-delaylib ${delay_lib} --dllname ${dll}.dll
                        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endfunction()

function(mrv_system_dlls_only target)
    set(dir ${PROJECT_BINARY_DIR}/delay-load)
    mrv__delay_libraries(${dir})
    target_link_directories(${target} BEFORE PRIVATE ${dir})
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/app/win/SystemDllsOnly.cpp)
    # The delay-load helper the thunks call.
    target_link_libraries(${target} PRIVATE delayimp)
endfunction()
