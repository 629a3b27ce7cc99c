# Runs at install time (cmake --install): the launcher and the AppStream file with the
# installed program's full path, which is known only once the prefix is.
#   LUNOR_APP_ID, LUNOR_INSTALL_PROGRAM_DIR, LUNOR_DATA_DIR, LUNOR_STAGING_DIR, PROJECT_VERSION
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(program "${prefix}/${LUNOR_INSTALL_PROGRAM_DIR}/lunortime")

# Exec follows the desktop entry rules: a path with a reserved character is quoted (with ",
# `, $ and \ escaped inside the quotes), then the value is escaped as a string (\ doubled)
# and a literal % is written %%.
set(exec "${program}")
if(exec MATCHES "[] \t\n\"'\\><~|&;$*?#()`[]")
    string(REPLACE "\\" "\\\\" exec "${exec}")
    string(REPLACE "\"" "\\\"" exec "${exec}")
    string(REPLACE "`" "\\`" exec "${exec}")
    string(REPLACE "$" "\\$" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(LUNOR_DESKTOP_EXEC "${exec}")
string(REPLACE "\\" "\\\\" LUNOR_DESKTOP_TRYEXEC "${program}")

configure_file("${LUNOR_DATA_DIR}/lunortime.desktop.in"
               "${LUNOR_STAGING_DIR}/${LUNOR_APP_ID}.desktop" @ONLY)
configure_file("${LUNOR_DATA_DIR}/lunortime.metainfo.xml.in"
               "${LUNOR_STAGING_DIR}/${LUNOR_APP_ID}.metainfo.xml" @ONLY)
file(INSTALL "${LUNOR_STAGING_DIR}/${LUNOR_APP_ID}.desktop"
     DESTINATION "$ENV{DESTDIR}${prefix}/share/applications")
file(INSTALL "${LUNOR_STAGING_DIR}/${LUNOR_APP_ID}.metainfo.xml"
     DESTINATION "$ENV{DESTDIR}${prefix}/share/metainfo")
