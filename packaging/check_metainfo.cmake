# appstreamcli validate --pedantic must report nothing, except that the id's first part is not a
# top-level domain: the project's only address is under the reserved .example domain, and the id
# is that address reversed.
# Parameter: METAINFO.
execute_process(COMMAND appstreamcli validate --pedantic --no-net --no-color ${METAINFO}
    RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
string(REGEX MATCHALL "(^|\n)[EWIP]: [^\n]*" issues "${report}")
list(FILTER issues EXCLUDE REGEX "cid-maybe-not-rdns example[.]")
if(NOT status EQUAL 0 OR issues)
    message(FATAL_ERROR "appstreamcli validate --pedantic (${status}):\n${report}")
endif()
