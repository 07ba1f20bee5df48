# Authenticode: given a code-signing certificate and its key, the build signs
# Tikkora.exe, the uninstaller inside the installer and the installer with
# osslsigncode, so Windows names the publisher instead of warning of an
# unknown program. Without them nothing is signed.
set(TIKKORA_SIGN_CERT "" CACHE FILEPATH
    "Code-signing certificate with its chain (PEM or DER); empty: nothing is signed")
set(TIKKORA_SIGN_KEY "" CACHE FILEPATH "Private key of TIKKORA_SIGN_CERT (PEM or DER)")
set(TIKKORA_SIGN_PASSWORD_FILE "" CACHE FILEPATH
    "File holding the password of an encrypted TIKKORA_SIGN_KEY; optional")
set(TIKKORA_SIGN_TIMESTAMP_URL "" CACHE STRING
    "RFC 3161 time-stamp server, so signatures outlive the certificate; optional")

set(TIKKORA_SIGNING OFF)
if(TIKKORA_SIGN_CERT STREQUAL "" AND TIKKORA_SIGN_KEY STREQUAL "")
    return()
endif()
if(TIKKORA_SIGN_CERT STREQUAL "" OR TIKKORA_SIGN_KEY STREQUAL "")
    message(FATAL_ERROR "Signing needs both TIKKORA_SIGN_CERT and TIKKORA_SIGN_KEY.")
endif()
foreach(file TIKKORA_SIGN_CERT TIKKORA_SIGN_KEY TIKKORA_SIGN_PASSWORD_FILE)
    if(NOT ${file} STREQUAL "" AND NOT EXISTS "${${file}}")
        message(FATAL_ERROR "${file}: no file ${${file}}")
    endif()
endforeach()
find_program(TIKKORA_OSSLSIGNCODE osslsigncode)
if(NOT TIKKORA_OSSLSIGNCODE)
    message(FATAL_ERROR "Signing needs osslsigncode (Debian osslsigncode; scripts/install-deps.sh installs it)")
endif()
set(TIKKORA_SIGNING ON)
set(TIKKORA_SIGN_FILES ${TIKKORA_SIGN_CERT} ${TIKKORA_SIGN_KEY} ${TIKKORA_SIGN_PASSWORD_FILE}
                       ${CMAKE_CURRENT_LIST_DIR}/authenticode_sign.cmake)
message(STATUS "Signing with ${TIKKORA_SIGN_CERT}")

# The command that signs `in` into `out` (the same file signs in place).
function(tikkora_sign_command var in out)
    set(${var} ${CMAKE_COMMAND} -DOSSLSIGNCODE=${TIKKORA_OSSLSIGNCODE}
        -DCERT=${TIKKORA_SIGN_CERT} -DKEY=${TIKKORA_SIGN_KEY}
        -DPASSWORD_FILE=${TIKKORA_SIGN_PASSWORD_FILE} -DTIMESTAMP_URL=${TIKKORA_SIGN_TIMESTAMP_URL}
        -DIN=${in} -DOUT=${out} -P ${CMAKE_SOURCE_DIR}/cmake/authenticode_sign.cmake PARENT_SCOPE)
endfunction()
