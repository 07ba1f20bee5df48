# What makes a build a release: the update address the clock asks and the
# public key its updates must be signed with. Both or neither: an address
# without a key would fetch updates nobody can sign, a key without an address
# would trust a server nobody runs. Without them the build is a development
# build, whose address is a reserved name that never resolves and which the
# update check never contacts.
set(TIKKORA_UPDATE_URL "" CACHE STRING
    "Release update folder, http://host[:port]/path without a trailing /; empty: development build")
set(TIKKORA_RELEASE_KEY "" CACHE FILEPATH
    "PEM file of the release public key (ECDSA P-256); empty: development build")

# Keep in step with kDevelopmentUpdateBaseUrl in src/update/release_settings_rules.h.
set(TIKKORA_DEVELOPMENT_UPDATE_URL "http://update.tikkora.example/tikkora")
# The tests' key: its private half lies in the repository, so anyone could
# sign updates for a release that trusted it.
set(TIKKORA_TEST_KEY ${CMAKE_CURRENT_LIST_DIR}/../tests/fixtures/update_test_key/test-only-public.pem)

# x then y of a PEM public key as hexadecimal text; stops the configure for
# anything but an ECDSA P-256 public key.
function(tikkora_p256_public_xy pem out_var)
    set(key_der ${CMAKE_BINARY_DIR}/release-public.der)
    execute_process(COMMAND ${TIKKORA_OPENSSL} pkey -pubin -in "${pem}" -outform DER -out ${key_der}
                    RESULT_VARIABLE key_result ERROR_VARIABLE key_error)
    if(NOT key_result EQUAL 0)
        message(FATAL_ERROR "${pem} is no PEM public key: ${key_error}")
    endif()
    file(READ ${key_der} key_hex HEX)
    file(REMOVE ${key_der})
    # SubjectPublicKeyInfo of an uncompressed P-256 point: this fixed head,
    # then x and y.
    set(p256_head "3059301306072a8648ce3d020106082a8648ce3d03010703420004")
    string(LENGTH "${key_hex}" key_length)
    string(FIND "${key_hex}" "${p256_head}" head_at)
    if(NOT key_length EQUAL 182 OR NOT head_at EQUAL 0)
        message(FATAL_ERROR "TIKKORA_RELEASE_KEY is not an ECDSA P-256 public key "
                            "(openssl ecparam -name prime256v1 makes one)")
    endif()
    string(SUBSTRING "${key_hex}" 54 128 xy_hex)
    set(${out_var} ${xy_hex} PARENT_SCOPE)
endfunction()

if(TIKKORA_UPDATE_URL STREQUAL "" AND TIKKORA_RELEASE_KEY STREQUAL "")
    set(TIKKORA_RELEASE_BUILD 0)
    set(TIKKORA_BUILT_IN_UPDATE_URL ${TIKKORA_DEVELOPMENT_UPDATE_URL})
    set(TIKKORA_RELEASE_KEY_XY "")
    message(STATUS "Development build: no update server (TIKKORA_UPDATE_URL, TIKKORA_RELEASE_KEY unset)")
elseif(TIKKORA_UPDATE_URL STREQUAL "" OR TIKKORA_RELEASE_KEY STREQUAL "")
    message(FATAL_ERROR "A release build needs both TIKKORA_UPDATE_URL and TIKKORA_RELEASE_KEY; "
                        "give both, or neither for a development build.")
else()
    # The address goes into the program as a C string and is the base of
    # every request: only plain characters, no trailing "/"; a host of
    # labels that do not start or end in "-", without a trailing dot; a port
    # from 1 to 65535, as the program's own reading of a URL wants it.
    set(label "[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?")
    set(url_usable FALSE)
    if(TIKKORA_UPDATE_URL MATCHES "^http://${label}(\\.${label})*(:([0-9]+))?(/[A-Za-z0-9._~%/-]*[A-Za-z0-9._~%-])?$")
        set(url_usable TRUE)
        set(port "${CMAKE_MATCH_5}")
        if(NOT port STREQUAL "" AND (port MATCHES "......" OR port LESS 1 OR port GREATER 65535))
            set(url_usable FALSE)
        endif()
    endif()
    # A host of numbers is an IPv4 address a connection can go to: four numbers
    # up to 255 without leading zeros (read as octal), not 0.x.x.x ("this network").
    set(octet "(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])")
    set(first_octet "(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9][0-9]?)")
    if(TIKKORA_UPDATE_URL MATCHES "^http://([^/:]*\\.)?[0-9]+([:/]|$)" AND NOT TIKKORA_UPDATE_URL
       MATCHES "^http://${first_octet}\\.${octet}\\.${octet}\\.${octet}([:/]|$)")
        set(url_usable FALSE)
    endif()
    if(NOT url_usable)
        message(FATAL_ERROR "TIKKORA_UPDATE_URL \"${TIKKORA_UPDATE_URL}\" is no update folder: "
                            "http://host[:port][/path] without a trailing / is wanted.")
    endif()
    # Reserved names never resolve, whatever their letters' case.
    string(TOLOWER "${TIKKORA_UPDATE_URL}" url_lower)
    if(url_lower MATCHES "^http://[^/:]*\\.(example|invalid)([:/]|$)")
        message(FATAL_ERROR "TIKKORA_UPDATE_URL names a reserved .example or .invalid host, "
                            "which never resolves.")
    endif()
    if(NOT EXISTS "${TIKKORA_RELEASE_KEY}")
        message(FATAL_ERROR "TIKKORA_RELEASE_KEY: no file ${TIKKORA_RELEASE_KEY}")
    endif()
    file(READ "${TIKKORA_RELEASE_KEY}" key_text)
    if(key_text MATCHES "PRIVATE KEY")
        message(FATAL_ERROR "TIKKORA_RELEASE_KEY holds a private key. Give the public half only "
                            "(openssl ec -in private.pem -pubout -out release-public.pem); the "
                            "private key stays off the build machine.")
    endif()
    find_program(TIKKORA_OPENSSL openssl)
    if(NOT TIKKORA_OPENSSL)
        message(FATAL_ERROR "openssl is needed to read TIKKORA_RELEASE_KEY (scripts/install-deps.sh installs it)")
    endif()
    tikkora_p256_public_xy("${TIKKORA_RELEASE_KEY}" xy_hex)
    tikkora_p256_public_xy("${TIKKORA_TEST_KEY}" test_xy_hex)
    # x alone: the point with y negated belongs to the private key n - d, as
    # well known as d.
    string(SUBSTRING "${xy_hex}" 0 64 x_hex)
    string(SUBSTRING "${test_xy_hex}" 0 64 test_x_hex)
    if(x_hex STREQUAL test_x_hex)
        message(FATAL_ERROR "TIKKORA_RELEASE_KEY is the tests' key, whose private half is in the "
                            "repository: anyone could sign updates for this release. Give the "
                            "release's own public key.")
    endif()
    string(REGEX REPLACE "(..)" "0x\\1," xy_bytes "${xy_hex}")
    string(REGEX REPLACE ",$" "" xy_bytes "${xy_bytes}")
    set(TIKKORA_RELEASE_BUILD 1)
    set(TIKKORA_BUILT_IN_UPDATE_URL ${TIKKORA_UPDATE_URL})
    set(TIKKORA_RELEASE_KEY_XY ${xy_bytes})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${TIKKORA_RELEASE_KEY}")
    message(STATUS "Release build: updates from ${TIKKORA_UPDATE_URL}, signed for ${TIKKORA_RELEASE_KEY}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/release.h.in ${CMAKE_BINARY_DIR}/include/tikkora_release.h @ONLY)
