# Run after the module is linked (cmake -P): writes the page OUT from PAGE
# with the page's address (ZEMRA_WEB_URL) and the module's size in bytes
# (of WASM), which the loading bar measures its download against.
file(SIZE "${WASM}" ZEMRA_WASM_BYTES)
configure_file("${PAGE}" "${OUT}" @ONLY)
