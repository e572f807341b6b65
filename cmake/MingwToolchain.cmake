# Cross build for 64-bit Windows with Debian's mingw-w64 (POSIX thread model, so std::thread and
# the C++ runtime's locks work). The binaries are linked statically so that they run on a plain
# Windows without the compiler's runtime libraries beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TW_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TW_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TW_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TW_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TW_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
