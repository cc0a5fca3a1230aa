# Cross-compiling for 64-bit Windows with Debian's MinGW-w64
# (package g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DTARNIK_BUILD_GUI=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARNIK_MINGW x86_64-w64-mingw32)
# The posix flavour has std::thread and std::mutex, should the core ever need them.
set(CMAKE_CXX_COMPILER ${TARNIK_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNIK_MINGW}-windres)

# Libraries and packages come from the Windows tree only, never from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TARNIK_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# An .exe that runs alone: the C++ runtime and winpthread are linked in
# instead of being DLLs to ship beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
