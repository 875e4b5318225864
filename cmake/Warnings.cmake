# One place for the warning flags of our own targets.
function(maple_warnings target)
    get_target_property(kind ${target} TYPE)
    if(kind STREQUAL "INTERFACE_LIBRARY")
        return()
    endif()
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
                                                 -Wno-error=deprecated-declarations)
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
            # GCC 12 at -O3 reports these inside the standard library's string
            # code for perfectly ordinary calls; they stay warnings there.
            target_compile_options(${target} PRIVATE -Wno-error=restrict -Wno-error=array-bounds
                                                     -Wno-error=stringop-overflow
                                                     -Wno-error=stringop-overread)
        endif()
    endif()
endfunction()
