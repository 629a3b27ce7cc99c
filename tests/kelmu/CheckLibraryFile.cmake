# Checks the built libKelmu.so: it exports exactly the seven functions of the library, and its
# version note lies in a note section named .note.package.
# cmake -DLIBRARY=<file> -DNM=<nm> -DREADELF=<readelf> -P CheckLibraryFile.cmake

execute_process(COMMAND "${NM}" -D --defined-only "${LIBRARY}"
    OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
set(exported)
foreach(line IN LISTS lines)
    if(NOT line MATCHES "^[0-9a-fA-F]* *([A-Za-z]) (.+)$")
        message(FATAL_ERROR "unexpected nm line: ${line}")
    endif()
    list(APPEND exported "${CMAKE_MATCH_1} ${CMAKE_MATCH_2}")
endforeach()
list(SORT exported)
set(expected "T GetFileName" "T GetFileVer" "T GetWeek" "T IntToTime" "T NoAction" "T OpenTime"
    "T TimeDiff")
if(NOT exported STREQUAL expected)
    message(FATAL_ERROR "libKelmu.so exports\n  ${exported}\nexpected exactly\n  ${expected}")
endif()

execute_process(COMMAND "${READELF}" -S -W "${LIBRARY}"
    OUTPUT_VARIABLE sections RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "readelf failed on ${LIBRARY}")
endif()
if(NOT sections MATCHES "\\.note\\.package +NOTE ")
    message(FATAL_ERROR "libKelmu.so has no note section .note.package:\n${sections}")
endif()
