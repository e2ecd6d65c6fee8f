# Cross-compiling for 64-bit Windows with Debian's mingw-w64 compilers, the
# flavour with POSIX threads (std::thread and std::mutex need it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ZEMRA_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${ZEMRA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEMRA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEMRA_MINGW}-windres)
set(CMAKE_AR ${ZEMRA_MINGW}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${ZEMRA_MINGW}-gcc-ranlib-posix CACHE FILEPATH "")

# Headers and libraries from the mingw sysroot and from the folders named in
# CMAKE_FIND_ROOT_PATH (the libraries built by scripts/windows-deps.sh);
# programs from this machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${ZEMRA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
