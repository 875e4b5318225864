# The hardening a distribution applies to its packages, for every release build on
# Linux: fortified libc calls, stack protection, full RELRO with immediate binding and
# position-independent executables.
if(CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT WIN32 AND NOT MAPLE_FUZZ)
    include(CheckPIESupported)
    check_pie_supported()
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    add_compile_options(-D_FORTIFY_SOURCE=2 -fstack-protector-strong -fstack-clash-protection
                        -fcf-protection)
    add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
