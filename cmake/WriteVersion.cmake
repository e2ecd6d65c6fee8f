# Run at every build (cmake -P): writes OUT, the program's version and the
# commit it is built from, and touches it only when either changed, so that
# a build of the same commit recompiles nothing. Without git, or outside a
# checkout, the commit is left empty.
execute_process(COMMAND git -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
                OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
if(failed)
  set(commit "")
else()
  execute_process(COMMAND git -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
                  OUTPUT_VARIABLE changes OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(changes)
    string(APPEND commit "+changes")
  endif()
endif()
set(text "// Written by cmake/WriteVersion.cmake at build time.\n#include \"app/version.h\"\n\n"
         "const char* zemraVersion() { return \"${VERSION}\"; }\n"
         "const char* zemraCommit() { return \"${commit}\"; }\n")
file(CONFIGURE OUTPUT "${OUT}" CONTENT "${text}")
