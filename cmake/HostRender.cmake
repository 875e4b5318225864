# A cross build cannot run what it builds: maple-render (tools/maple-render)
# is built once more for the build machine, with its own Qt and compiler, and
# named by MAPLE_HOST_RENDER. It draws the pictures, the program's icon and
# the user manual of the Windows build.
include(ExternalProject)
set(host_render_dir ${CMAKE_BINARY_DIR}/host-render)
set(MAPLE_HOST_RENDER ${host_render_dir}/maple-render)
ExternalProject_Add(maple_host_render
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/maple-render
    BINARY_DIR ${host_render_dir}
    # The cross build's pkg-config folder must not reach the host's Qt.
    CONFIGURE_COMMAND ${CMAKE_COMMAND} -E env --unset=PKG_CONFIG_LIBDIR
                      ${CMAKE_COMMAND} -G Ninja -S <SOURCE_DIR> -B <BINARY_DIR>
                      -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=c++
                      -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR>
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${MAPLE_HOST_RENDER})
set(MAPLE_RENDER ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${MAPLE_HOST_RENDER})
