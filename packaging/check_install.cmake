# cmake --install into a scratch DESTDIR, then every file must be in place and the programs run.
# Parameters: BUILD_DIR, WORK_DIR, GUI, APP_ID.
include(${CMAKE_CURRENT_LIST_DIR}/installed_files.cmake)

file(REMOVE_RECURSE ${WORK_DIR})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${WORK_DIR}
            ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
    RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${status}):\n${log}")
endif()

set(root ${WORK_DIR}/usr)
analisis_tracks_installed_files(expected "${GUI}" ${APP_ID})
set(missing)
foreach(file IN LISTS expected)
    if(NOT EXISTS ${root}/${file})
        list(APPEND missing ${file})
    endif()
endforeach()
if(GUI)
    file(GLOB samples ${root}/share/analisis-tracks/samples/*.plt)
    if(NOT samples)
        list(APPEND missing "share/analisis-tracks/samples/*.plt")
    endif()
endif()
if(missing)
    file(GLOB_RECURSE installed RELATIVE ${WORK_DIR} ${WORK_DIR}/*)
    string(REPLACE ";" "\n  " missing "${missing}")
    string(REPLACE ";" "\n  " installed "${installed}")
    message(FATAL_ERROR "Missing after install:\n  ${missing}\nInstalled:\n  ${installed}")
endif()

execute_process(COMMAND ${root}/bin/analisis-tracks-cli --help
    RESULT_VARIABLE status OUTPUT_VARIABLE help ERROR_VARIABLE help)
if(NOT status EQUAL 0 OR NOT help MATCHES "analisis-tracks-cli resumen")
    message(FATAL_ERROR "The installed analisis-tracks-cli does not run (${status}):\n${help}")
endif()
if(GUI)
    # The menu entry, the icon and the metadata must find each other where they were put.
    execute_process(COMMAND appstreamcli validate-tree --no-net --no-color ${WORK_DIR}
        RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "appstreamcli validate-tree failed:\n${report}")
    endif()
endif()
file(REMOVE_RECURSE ${WORK_DIR})
