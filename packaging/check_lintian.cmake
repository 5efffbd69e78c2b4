# Builds the .deb with CPack and checks it with lintian: every error and every warning fails,
# pedantic tags and informational ones included in the report.
# Parameters: BUILD_DIR, WORK_DIR.
file(REMOVE_RECURSE ${WORK_DIR})
get_filename_component(cmake_dir ${CMAKE_COMMAND} DIRECTORY)
find_program(CPACK cpack HINTS ${cmake_dir} REQUIRED)
execute_process(COMMAND ${CPACK} -G DEB -B ${WORK_DIR} --config ${BUILD_DIR}/CPackConfig.cmake
    RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB debs ${WORK_DIR}/*.deb)
list(LENGTH debs count)
if(NOT status EQUAL 0 OR NOT count EQUAL 1)
    message(FATAL_ERROR "cpack failed (${status}), packages: ${debs}\n${log}")
endif()

find_program(LINTIAN lintian REQUIRED)
# --allow-root: the check runs as root on a fresh machine and in containers.
execute_process(
    COMMAND ${LINTIAN} --pedantic -I -E --fail-on error,warning --allow-root --tag-display-limit 0
            ${debs}
    RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
message("${report}")
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lintian failed (${status}) on ${debs}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
