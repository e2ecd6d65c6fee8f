# The browser build's inputs from outside the WebAssembly tree:
#  - ZEMRA_WEB_DEPS: the prefix where scripts/web-deps.sh installed libjpeg,
#    bzip2 and libopenmpt built for WebAssembly;
#  - ZEMRA_HOST_ASSETS: the assets folder of a native build, whose generators
#    (programs of this machine) made the show's resources. The same files are
#    embedded as in the desktop program.
set(ZEMRA_WEB_DEPS "" CACHE PATH "Prefix of the WebAssembly libjpeg, bzip2 and libopenmpt")
set(ZEMRA_HOST_ASSETS "" CACHE PATH "The assets folder of a native build (build/default/assets)")
foreach(input IN ITEMS ZEMRA_WEB_DEPS ZEMRA_HOST_ASSETS)
  if(NOT IS_DIRECTORY "${${input}}")
    message(FATAL_ERROR "${input} must name a folder (scripts/web.sh sets it), not '${${input}}'")
  endif()
endforeach()

# zemra_web_import(TARGET LIBRARY): a static library of ZEMRA_WEB_DEPS under
# the name the desktop build's package lookup gives it.
function(zemra_web_import target library)
  set(path ${ZEMRA_WEB_DEPS}/lib/${library})
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "${path} is missing: run scripts/web-deps.sh")
  endif()
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION ${path}
    INTERFACE_INCLUDE_DIRECTORIES ${ZEMRA_WEB_DEPS}/include)
endfunction()
zemra_web_import(JPEG::JPEG libjpeg.a)
zemra_web_import(BZip2::BZip2 libbz2.a)
zemra_web_import(PkgConfig::OPENMPT libopenmpt.a)

file(GLOB embed_sources CONFIGURE_DEPENDS ${ZEMRA_HOST_ASSETS}/*/embed.cpp)
if(NOT embed_sources OR NOT EXISTS ${ZEMRA_HOST_ASSETS}/index.cpp)
  message(FATAL_ERROR "${ZEMRA_HOST_ASSETS} holds no generated resources: build the native target zemra_generated_assets")
endif()
add_library(zemra_resources STATIC ${ZEMRA_HOST_ASSETS}/index.cpp ${embed_sources})
target_include_directories(zemra_resources PUBLIC ${CMAKE_SOURCE_DIR}/src)
