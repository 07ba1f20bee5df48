# Signs one Windows program with osslsigncode; run by the build:
#   cmake -DOSSLSIGNCODE=... -DCERT=... -DKEY=... [-DPASSWORD_FILE=...]
#         [-DTIMESTAMP_URL=...] -DIN=<file> -DOUT=<file> -P authenticode_sign.cmake
# IN and OUT may be one file. When signing fails no file is left that the
# build would take for signed: neither a partial OUT nor, in place, the
# unsigned IN.
set(arguments sign -certs ${CERT} -key ${KEY} -h sha256 -n Tikkora)
if(PASSWORD_FILE)
    list(APPEND arguments -readpass ${PASSWORD_FILE})
endif()
if(TIMESTAMP_URL)
    list(APPEND arguments -ts ${TIMESTAMP_URL})
endif()
set(signing "${OUT}.signing")
file(REMOVE "${signing}")
execute_process(COMMAND ${OSSLSIGNCODE} ${arguments} -in ${IN} -out ${signing}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    file(REMOVE "${signing}")
    if(IN STREQUAL OUT)
        file(REMOVE "${IN}")
    endif()
    message(FATAL_ERROR "osslsigncode could not sign ${IN}:\n${output}")
endif()
file(RENAME "${signing}" "${OUT}")
