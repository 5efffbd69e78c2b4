# Builds the .deb with CPack and checks it with lintian: every error and every warning fails,
# pedantic tags and informational ones included in the report.
# Parameters: BUILD_DIR, WORK_DIR.
include(${CMAKE_CURRENT_LIST_DIR}/build_deb.cmake)
build_deb(${BUILD_DIR} ${WORK_DIR} debs)

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
