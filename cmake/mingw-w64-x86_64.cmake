# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64).
# Usage: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MRV_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model, so that std::thread and std::mutex are there.
set(CMAKE_C_COMPILER ${MRV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MRV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MRV_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MRV_MINGW_PREFIX})
# The Qt built for Windows (scripts/qt-windows), when there is one.
if(MRV_WINDOWS_QT)
    list(APPEND CMAKE_FIND_ROOT_PATH ${MRV_WINDOWS_QT})
    list(APPEND CMAKE_PREFIX_PATH ${MRV_WINDOWS_QT})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything linked in statically (the C++ runtime and winpthread included):
# the programs run on a bare Windows or under wine without the compiler's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
