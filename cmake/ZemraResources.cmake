# zemra_resources_library(INDEX EMBED_SOURCES...): the library zemra_resources,
# the show's pictures and music compiled in. INDEX lists the resource groups,
# each EMBED_SOURCE carries one group's files. The native build makes these
# sources with its generators (tools/assetgen); the cross and fuzz builds take
# the ones a native build made (cmake/ZemraHostAssets.cmake).
function(zemra_resources_library index)
  add_library(zemra_resources STATIC ${index} ${ARGN})
  target_include_directories(zemra_resources PUBLIC ${CMAKE_SOURCE_DIR}/src)
endfunction()
