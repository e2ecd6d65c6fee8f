# The Windows build's inputs from outside the mingw tree:
#  - ZEMRA_WINDOWS_DEPS: the prefix where scripts/windows-deps.sh installed
#    libjpeg, bzip2, libpng, libopenmpt and SDL2 built as static libraries;
#  - ZEMRA_HOST_ASSETS: the assets folder of a native build (the icon and the
#    show's resources).
# Everything is linked statically: zemra.exe needs no DLL beyond Windows' own.
include(cmake/ZemraHostAssets.cmake)
set(ZEMRA_WINDOWS_DEPS "" CACHE PATH "Prefix of the static Windows libjpeg, bzip2, libpng, libopenmpt and SDL2")
zemra_require_folders(scripts/windows.sh ZEMRA_WINDOWS_DEPS ZEMRA_HOST_ASSETS)

set(mingw_lib /usr/x86_64-w64-mingw32/lib)
zemra_import_static(JPEG::JPEG ${ZEMRA_WINDOWS_DEPS} libjpeg.a)
zemra_import_static(BZip2::BZip2 ${ZEMRA_WINDOWS_DEPS} libbz2.a)
zemra_import_static(PNG::PNG ${ZEMRA_WINDOWS_DEPS} libpng16.a ${mingw_lib}/libz.a)
# zlib by its static archive: the import library beside it would want a DLL.
zemra_import_static(ZLIB::ZLIB /usr/x86_64-w64-mingw32 libz.a)
zemra_import_static(PkgConfig::OPENMPT ${ZEMRA_WINDOWS_DEPS} libopenmpt.a)
# SDL2's own dependencies are Windows' system libraries.
zemra_import_static(PkgConfig::SDL2 ${ZEMRA_WINDOWS_DEPS} libSDL2.a
  m kernel32 user32 gdi32 winmm imm32 ole32 oleaut32 version uuid advapi32 setupapi shell32 dinput8)
set_property(TARGET PkgConfig::SDL2 APPEND PROPERTY INTERFACE_INCLUDE_DIRECTORIES ${ZEMRA_WINDOWS_DEPS}/include/SDL2)
zemra_host_resources()

# Optimised as the native build (-O2): GCC 12's -O3 also warns falsely
# (-Warray-bounds) about a vector's insert in the tests.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")

# The C and C++ runtimes and the thread library inside the programs; a
# release without its symbols (a third of its size).
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)

# GoogleTest from Debian's sources (the googletest package), built for Windows.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(name IN ITEMS gtest gtest_main gmock gmock_main)
  if(NOT TARGET GTest::${name})
    add_library(GTest::${name} ALIAS ${name})
  endif()
endforeach()

# zemra_windows_program(TARGET NAME): the program's icon, version and
# manifest, and a windowed program (no console of its own; it attaches to the
# console it was started from).
function(zemra_windows_program target name)
  set(ZEMRA_ICON_FILE ${ZEMRA_HOST_ASSETS}/icon/zemra.ico)
  set(ZEMRA_MANIFEST_FILE ${CMAKE_BINARY_DIR}/zemra.manifest)
  set(ZEMRA_RC_NAME ${name})
  set(ZEMRA_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
  set(ZEMRA_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
  configure_file(${CMAKE_SOURCE_DIR}/src/platform/win32/zemra.manifest ${ZEMRA_MANIFEST_FILE} @ONLY)
  configure_file(${CMAKE_SOURCE_DIR}/src/platform/win32/zemra.rc.in ${CMAKE_BINARY_DIR}/${name}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/${name}.rc)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
endfunction()
