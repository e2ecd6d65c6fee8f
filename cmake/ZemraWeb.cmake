# The browser build's inputs from outside the WebAssembly tree:
#  - ZEMRA_WEB_DEPS: the prefix where scripts/web-deps.sh installed libjpeg,
#    bzip2, zlib and libopenmpt built for WebAssembly;
#  - ZEMRA_HOST_ASSETS: the assets folder of a native build, whose generators
#    (programs of this machine) made the show's resources. The same files are
#    embedded as in the desktop program.
include(cmake/ZemraHostAssets.cmake)
set(ZEMRA_WEB_DEPS "" CACHE PATH "Prefix of the WebAssembly libjpeg, bzip2, zlib and libopenmpt")
zemra_require_folders(scripts/web.sh ZEMRA_WEB_DEPS ZEMRA_HOST_ASSETS)

zemra_import_static(JPEG::JPEG ${ZEMRA_WEB_DEPS} libjpeg.a)
zemra_import_static(BZip2::BZip2 ${ZEMRA_WEB_DEPS} libbz2.a)
zemra_import_static(ZLIB::ZLIB ${ZEMRA_WEB_DEPS} libz.a)
zemra_import_static(PkgConfig::OPENMPT ${ZEMRA_WEB_DEPS} libopenmpt.a)
zemra_host_resources()
