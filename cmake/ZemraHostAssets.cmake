# zemra_host_resources(): the library zemra_resources from ZEMRA_HOST_ASSETS,
# the assets folder of a native build. Cross builds (the browser, Windows)
# embed the files the native generators made: the generators' floating point
# must be this machine's, or pictures and music would differ.
include(${CMAKE_CURRENT_LIST_DIR}/ZemraResources.cmake)
set(ZEMRA_HOST_ASSETS "" CACHE PATH "The assets folder of a native build (build/default/assets)")

# zemra_require_folders(SCRIPT VARIABLES...): stops unless each variable
# names a folder; SCRIPT is what sets them.
function(zemra_require_folders script)
  foreach(input IN LISTS ARGN)
    if(NOT IS_DIRECTORY "${${input}}")
      message(FATAL_ERROR "${input} must name a folder (${script} sets it), not '${${input}}'")
    endif()
  endforeach()
endfunction()

function(zemra_host_resources)
  file(GLOB embed_sources CONFIGURE_DEPENDS ${ZEMRA_HOST_ASSETS}/*/embed.cpp)
  if(NOT embed_sources OR NOT EXISTS ${ZEMRA_HOST_ASSETS}/index.cpp)
    message(FATAL_ERROR "${ZEMRA_HOST_ASSETS} holds no generated resources: build the native target zemra_generated_assets")
  endif()
  zemra_resources_library(${ZEMRA_HOST_ASSETS}/index.cpp ${embed_sources})
endfunction()

# zemra_import_static(TARGET PREFIX LIBRARY [link dependencies...]): a static
# library of a prefix built by scripts/*-deps.sh, under the name the native
# build's package lookup gives it.
function(zemra_import_static target prefix library)
  set(path ${prefix}/lib/${library})
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "${path} is missing: build the libraries first (scripts/web-deps.sh or scripts/windows-deps.sh)")
  endif()
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION ${path}
    INTERFACE_INCLUDE_DIRECTORIES ${prefix}/include
    INTERFACE_LINK_LIBRARIES "${ARGN}")
endfunction()
