# lunor_wayland_protocol(<target> <protocol> <folder in wayland-protocols> CLIENT|SERVER)
# Generates the C code and header of a protocol from the XML that Debian's wayland-protocols
# installs, and adds them to the target. The header's folder is on the target's include path.
find_package(PkgConfig REQUIRED)
find_program(LUNOR_WAYLAND_SCANNER wayland-scanner REQUIRED)
pkg_get_variable(LUNOR_WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
if(NOT LUNOR_WAYLAND_PROTOCOLS_DIR)
    message(FATAL_ERROR "wayland-protocols is not installed (Debian package wayland-protocols)")
endif()

function(lunor_wayland_protocol target protocol folder side)
    set(xml "${LUNOR_WAYLAND_PROTOCOLS_DIR}/${folder}/${protocol}.xml")
    if(NOT EXISTS "${xml}")
        message(FATAL_ERROR "${xml} is missing: wayland-protocols is too old")
    endif()
    string(TOLOWER "${side}" side_name)
    set(out "${CMAKE_CURRENT_BINARY_DIR}/wayland")
    set(header "${out}/${protocol}-${side_name}-protocol.h")
    set(code "${out}/${protocol}-protocol.c")
    file(MAKE_DIRECTORY "${out}")
    add_custom_command(OUTPUT "${header}"
        COMMAND ${LUNOR_WAYLAND_SCANNER} ${side_name}-header "${xml}" "${header}"
        DEPENDS "${xml}" VERBATIM)
    add_custom_command(OUTPUT "${code}"
        COMMAND ${LUNOR_WAYLAND_SCANNER} private-code "${xml}" "${code}"
        DEPENDS "${xml}" VERBATIM)
    target_sources(${target} PRIVATE "${header}" "${code}")
    # Generated code: a system folder, so that warnings and checks leave it alone.
    target_include_directories(${target} SYSTEM PRIVATE "${out}")
endfunction()
