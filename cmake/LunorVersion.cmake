# Version information inside our own ELF files: a note in the ".note.package" format of the
# "package metadata for executable files" convention (owner "FDO", type 0xcafe1a7e, a JSON
# description with a "version" field). GetFileVer reads it back from the file.

set(LUNOR_VERSION_NOTE_SOURCE "${CMAKE_BINARY_DIR}/generated/VersionNote.cpp")
set(LUNOR_VERSION_NOTE_TEMPLATE "${CMAKE_CURRENT_LIST_DIR}/VersionNote.cpp.in")
set(LUNOR_VERSION_JSON
    "{\"type\":\"lunortime\",\"name\":\"LunorTime\",\"version\":\"${PROJECT_VERSION}\"}")
string(LENGTH "${LUNOR_VERSION_JSON}" LUNOR_VERSION_JSON_LENGTH)
math(EXPR LUNOR_VERSION_DESC_SIZE "${LUNOR_VERSION_JSON_LENGTH} + 1")
math(EXPR LUNOR_VERSION_DESC_PADDED "(${LUNOR_VERSION_DESC_SIZE} + 3) / 4 * 4")
string(REPLACE "\"" "\\\"" LUNOR_VERSION_JSON_ESCAPED "${LUNOR_VERSION_JSON}")
configure_file("${LUNOR_VERSION_NOTE_TEMPLATE}" "${LUNOR_VERSION_NOTE_SOURCE}" @ONLY)

# Adds the version note to a binary target (executable, shared library or plug-in module).
function(lunor_add_version_note target)
    target_sources(${target} PRIVATE "${LUNOR_VERSION_NOTE_SOURCE}")
endfunction()

# Same note with a version of the caller's choosing, for fixture modules of the tests.
function(lunor_add_custom_version_note target version)
    set(json "{\"type\":\"lunortime\",\"name\":\"${target}\",\"version\":\"${version}\"}")
    string(LENGTH "${json}" len)
    math(EXPR LUNOR_VERSION_DESC_SIZE "${len} + 1")
    math(EXPR LUNOR_VERSION_DESC_PADDED "(${LUNOR_VERSION_DESC_SIZE} + 3) / 4 * 4")
    string(REPLACE "\"" "\\\"" LUNOR_VERSION_JSON_ESCAPED "${json}")
    set(out "${CMAKE_BINARY_DIR}/generated/VersionNote_${target}.cpp")
    configure_file("${LUNOR_VERSION_NOTE_TEMPLATE}" "${out}" @ONLY)
    target_sources(${target} PRIVATE "${out}")
endfunction()
