# Helpers that let every layer folder declare its library and tests without
# listing files in a shared place.

# maple_core_library(name [DEPS ...])
# Builds every .cpp below the calling folder, except window files (frm*, uc*,
# ModFileDlg*) and platform folders (posix/, win/: maple_platform_sources;
# linux/, emulated/ are added by the folder itself), into a static library that never links Qt: a Qt include in
# core code then fails to compile.
function(maple_core_library name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    foreach(dep ${ARG_DEPS})
        if(dep MATCHES "^Qt")
            message(FATAL_ERROR "${name}: core libraries must not link ${dep}")
        endif()
    endforeach()
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    list(FILTER sources EXCLUDE REGEX "/(frm|uc|ModFileDlg)[^/]*\\.cpp$")
    list(FILTER sources EXCLUDE REGEX "/(linux|posix|win|emulated)/")
    if(sources)
        set(scope PUBLIC)
        add_library(${name} STATIC ${sources})
    else()
        # A layer that has no code yet is still a target the others can name.
        set(scope INTERFACE)
        add_library(${name} INTERFACE)
    endif()
    target_include_directories(${name} ${scope} ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} ${scope} ${ARG_DEPS})
    maple_warnings(${name})
endfunction()

# maple_window_sources()
# Collects the window files (frm*, uc*, ModFileDlg*) of the calling folder for
# the maple_windows library, which src/ creates once every folder was read.
function(maple_window_sources)
    file(GLOB sources CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/frm*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/uc*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/ModFileDlg*.cpp)
    set_property(GLOBAL APPEND PROPERTY MAPLE_WINDOW_SOURCES ${sources})
    set_property(GLOBAL APPEND PROPERTY MAPLE_WINDOW_INCLUDES ${CMAKE_CURRENT_SOURCE_DIR})
endfunction()

# maple_platform_sources(target)
# Adds the platform part of the calling folder to `target`: win/*.cpp on
# Windows, posix/*.cpp elsewhere. The folder's headers become visible to the
# target's users, so platform parts of other layers can share them.
function(maple_platform_sources target)
    if(WIN32)
        set(platform win)
    else()
        set(platform posix)
    endif()
    set(folder ${CMAKE_CURRENT_SOURCE_DIR}/${platform})
    file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
    target_sources(${target} PRIVATE ${sources})
    get_target_property(kind ${target} TYPE)
    if(kind STREQUAL "EXECUTABLE")
        target_include_directories(${target} PRIVATE ${folder})
    else()
        target_include_directories(${target} PUBLIC ${folder})
    endif()
endfunction()
