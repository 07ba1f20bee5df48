# Libraries the clock needs only for some commands (the alarm dialog, the
# sound, the update, the shell) are bound on their first call instead of at
# load: each one loaded at start costs the clock's start and its memory even
# when the user never opens what needs it.
#
# tikkora_delay_import(<target> <dll> FUNCTIONS <name>...) binds the named
# functions of <dll> through the C runtime's delay-load helper, from a delay
# import library made at configure time out of the toolchain's own import
# library. A function of <dll> that is not named here stays unresolved at link
# time, so none is bound at load by accident.
find_program(TIKKORA_NM NAMES ${TOOLCHAIN_PREFIX}-nm REQUIRED)
find_program(TIKKORA_DLLTOOL NAMES ${TOOLCHAIN_PREFIX}-dlltool REQUIRED)

function(tikkora_delay_import target dll)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "FUNCTIONS")
    get_filename_component(library ${dll} NAME_WE)
    string(TOLOWER ${library} library)
    find_library(TIKKORA_IMPORT_${library} NAMES lib${library}.a REQUIRED)
    execute_process(COMMAND ${TIKKORA_NM} --defined-only ${TIKKORA_IMPORT_${library}}
                    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    set(definition "LIBRARY ${dll}\nEXPORTS\n")
    set(references "")
    foreach(function IN LISTS arg_FUNCTIONS)
        # The 32-bit names carry the size of their arguments.
        if(NOT symbols MATCHES " T _(${function}@[0-9]+)\n")
            message(FATAL_ERROR "${function} is not a function of ${TIKKORA_IMPORT_${library}}")
        endif()
        string(APPEND definition "${CMAKE_MATCH_1}\n")
        # The linker keeps a delay thunk only when its own name is wanted; the
        # program's calls go through the import pointer alone.
        list(APPEND references "LINKER:-u,_${CMAKE_MATCH_1}")
    endforeach()
    set(output ${CMAKE_BINARY_DIR}/delay/lib${library}_delay.a)
    file(WRITE ${output}.def "${definition}")
    execute_process(COMMAND ${TIKKORA_DLLTOOL} --kill-at --input-def ${output}.def --dllname ${dll}
                            --output-delaylib ${output}
                    COMMAND_ERROR_IS_FATAL ANY)
    target_link_libraries(${target} PUBLIC ${output})
    target_link_options(${target} INTERFACE ${references})
endfunction()
