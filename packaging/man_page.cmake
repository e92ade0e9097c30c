# Writes a program's manual page from its --help and --version with help2man, the prose coming
# from an include file. The help names this build's own user guide, which an installed page must
# not; from the line that begins with CUT (when given) to the next section, the help's closing
# paragraph is left out too, as the include says it in full.
# cmake -DHELP2MAN=path -DPROGRAM=path -DINCLUDE=file.h2m -DOUTPUT=page.1
#       -DRELEASE_DATE=YYYY-MM-DD [-DCUT=text] -P man_page.cmake

# The page is dated with the release, not the build: the same sources give the same page.
execute_process(COMMAND date -u -d ${RELEASE_DATE} +%s OUTPUT_VARIABLE epoch
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(ENV{SOURCE_DATE_EPOCH} ${epoch})
# A sanitizer build's program keeps Qt's allocations to the end; the suites check for leaks.
set(ENV{ASAN_OPTIONS} detect_leaks=0)
execute_process(COMMAND ${HELP2MAN} --no-info --section=1 --manual=User\ Commands
                        --include=${INCLUDE} ${PROGRAM}
                OUTPUT_VARIABLE page COMMAND_ERROR_IS_FATAL ANY)

if(DEFINED CUT)
    string(FIND "${page}" "\n${CUT}" from)
    if(from EQUAL -1)
        message(FATAL_ERROR "${PROGRAM} --help has no line beginning with '${CUT}'")
    endif()
    string(SUBSTRING "${page}" 0 ${from} head)
    string(SUBSTRING "${page}" ${from} -1 rest)
    string(FIND "${rest}" "\n.SH" to)
    if(to EQUAL -1)
        set(rest "\n")
    else()
        string(SUBSTRING "${rest}" ${to} -1 rest)
    endif()
    set(page "${head}${rest}")
endif()
string(REGEX REPLACE "\n\\.PP\nUser guide: [^\n]*" "" page "${page}")
if(page MATCHES "User guide: ")
    message(FATAL_ERROR "the page of ${PROGRAM} still names the build's user guide")
endif()
file(WRITE ${OUTPUT} "${page}")
