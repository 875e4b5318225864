# maple_prerendered_pictures(target)
# The Windows Qt has no SVG module: the build machine's maple-render draws
# every picture of src/ui/resources/pictures once, 256 pixels square, and the
# PNGs go into the resource "pictures" in place of the SVGs (Pictures.cpp
# scales them down).
function(maple_prerendered_pictures target)
    file(GLOB svgs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/ui/resources/pictures/*.svg)
    set(folder ${CMAKE_CURRENT_BINARY_DIR}/pictures)
    set(qrc ${folder}/pictures.qrc)
    set(entries)
    set(pngs)
    foreach(svg ${svgs})
        get_filename_component(name ${svg} NAME_WE)
        set(png ${folder}/${name}.png)
        add_custom_command(OUTPUT ${png}
                           COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                           COMMAND ${MAPLE_RENDER} icon ${svg} 256 ${png}
                           DEPENDS maple_host_render ${svg} VERBATIM)
        string(APPEND entries "    <file>${name}.png</file>\n")
        list(APPEND pngs ${png})
    endforeach()
    file(CONFIGURE OUTPUT ${qrc} CONTENT
         "<RCC>\n<qresource prefix=\"/pictures\">\n${entries}</qresource>\n</RCC>\n")
    qt_add_resources(sources ${qrc})
    set_source_files_properties(${sources} PROPERTIES OBJECT_DEPENDS "${pngs}")
    target_sources(${target} PRIVATE ${sources})
    target_compile_definitions(${target} PRIVATE MAPLE_PRERENDERED_PICTURES)
endfunction()
