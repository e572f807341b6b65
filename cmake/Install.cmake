# The installed layout of the Linux build (`cmake --install`, DESTDIR honoured) and its Debian
# package (`make package`, through CPack):
#   bin/tagwright                                   the program
#   share/tagwright/VersionHistory.txt, TermOfUse.txt  the help texts the Help menu opens
#   share/applications/com.corvell.Tagwright.desktop     the menu entry
#   share/metainfo/com.corvell.Tagwright.metainfo.xml    the software centre's description
#   share/icons/hicolor/{scalable,NxN}/apps/com.corvell.Tagwright.{svg,png}
#   share/kio/servicemenus/, share/nemo/actions/    the file managers' context-menu entries
# The build folder keeps bin/Tagwright with the help texts beside it.
include(GNUInstallDirs)

set(TW_DESKTOP_ID com.corvell.Tagwright)
set(TW_DESKTOP_SOURCE ${CMAKE_SOURCE_DIR}/res/desktop)

install(PROGRAMS $<TARGET_FILE:Tagwright> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME tagwright)
install(FILES ${CMAKE_SOURCE_DIR}/res/VersionHistory.txt ${CMAKE_SOURCE_DIR}/res/TermOfUse.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tagwright)
install(FILES ${TW_DESKTOP_SOURCE}/${TW_DESKTOP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon: the drawing itself and the theme's bitmap sizes rendered from it.
find_program(TW_RSVG_CONVERT rsvg-convert REQUIRED)
set(TW_ICON_SVG ${TW_DESKTOP_SOURCE}/${TW_DESKTOP_ID}.svg)
set(TW_ICON_PNGS)
foreach(size 16 22 24 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${TW_DESKTOP_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
        COMMAND ${TW_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${TW_ICON_SVG}
        DEPENDS ${TW_ICON_SVG}
        VERBATIM)
    list(APPEND TW_ICON_PNGS ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(icons ALL DEPENDS ${TW_ICON_PNGS})
install(FILES ${TW_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The desktop entry and the context-menu entries name the program by its installed path, which
# is known only when installing (a package installs below a staging folder with the prefix
# /usr); they are written then and installed from there.
set(TW_ENTRIES_STAGE ${CMAKE_BINARY_DIR}/desktop-entries)
install(CODE "
    if(IS_ABSOLUTE \"${CMAKE_INSTALL_BINDIR}\")
        set(tw_program \"${CMAKE_INSTALL_BINDIR}/tagwright\")
    else()
        set(tw_program \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tagwright\")
    endif()
    file(REMOVE_RECURSE \"${TW_ENTRIES_STAGE}\")
    execute_process(
        COMMAND \"$<TARGET_FILE:desktopfiles>\" \"\${tw_program}\" ${TW_DESKTOP_ID}
                \"${TW_ENTRIES_STAGE}\"
        RESULT_VARIABLE tw_result)
    if(NOT tw_result EQUAL 0)
        message(FATAL_ERROR \"The desktop entries could not be written.\")
    endif()
    foreach(tw_entry applications/${TW_DESKTOP_ID}.desktop
                     kio/servicemenus/${TW_DESKTOP_ID}.desktop
                     nemo/actions/${TW_DESKTOP_ID}.nemo_action)
        get_filename_component(tw_folder \"\${tw_entry}\" DIRECTORY)
        file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/\${tw_folder}\"
             TYPE FILE FILES \"${TW_ENTRIES_STAGE}/\${tw_entry}\")
    endforeach()
")

include(cmake/Package.cmake)
