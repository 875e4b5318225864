# The Windows build's tests under Wine (scripts/test-windows runs them).

# maple_windows_test_runtime(environment_variable)
# What the window tests load beside them: Qt's test library and the offscreen
# platform. On Windows the offscreen platform reads fonts only from the folder
# QT_QPA_FONTDIR names: Simplified Chinese and Latin faces of the build
# machine. QtTest writes to the debugger, not to a redirected output, unless
# QT_FORCE_STDERR_LOGGING is set. Wine hands no QT_* variable to Windows
# programs but takes WINEQT_* for them: the variable `environment_variable`
# names gets the tests' set.
function(maple_windows_test_runtime environment)
    set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    add_custom_target(maple_window_test_runtime ALL
        COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::Test> ${bin}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/platforms
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin> ${bin}/platforms
        VERBATIM)
    set(fonts ${CMAKE_CURRENT_BINARY_DIR}/fonts)
    file(MAKE_DIRECTORY ${fonts})
    foreach(face /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
                 /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)
        get_filename_component(name ${face} NAME)
        file(CREATE_LINK ${face} ${fonts}/${name} SYMBOLIC)
    endforeach()
    # Wine's drive Z: is the build machine's root.
    set(${environment} "WINEQT_QPA_PLATFORM=offscreen;WINEQT_QPA_FONTDIR=Z:${fonts}"
                       "WINEQT_FORCE_STDERR_LOGGING=1;LC_ALL=C" PARENT_SCOPE)
endfunction()

# maple_wine_desktop_rehearsal()
# The package installed under Wine and the installed maple-writer.exe driven
# through a recording by the rehearsal driver, a generic Qt plugin
# (driver/, never installed): tests/wine/desktop_rehearsal.sh.
function(maple_wine_desktop_rehearsal)
    set(driver maple-rehearsal-driver)
    set(folder ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
    add_library(${driver} MODULE ${folder}/driver/RehearsalPlugin.cpp
                                 ${folder}/driver/RehearsalDriver.cpp)
    target_link_libraries(${driver} PRIVATE Qt6::Widgets)
    set_target_properties(${driver} PROPERTIES AUTOMOC ON PREFIX "" OUTPUT_NAME maplerehearsal
                          LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/rehearsal-driver)
    maple_warnings(${driver})
    add_test(NAME wine_desktop_rehearsal
             COMMAND bash ${folder}/desktop_rehearsal.sh ${CMAKE_BINARY_DIR}
                     $<TARGET_FILE:${driver}> ${PROJECT_SOURCE_DIR})
    # The longest Windows test: started first, beside the others.
    set_tests_properties(wine_desktop_rehearsal PROPERTIES TIMEOUT 900 COST 1000)
endfunction()
