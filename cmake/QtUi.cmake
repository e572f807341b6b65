# The window classes: Qt 6 Widgets, in the ui/ folder beside each subsystem's logic.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Network DBus Test)

# tw_ui_library(name dep...): a static library of the folder's *.cpp files with moc, or an
# interface library while the folder has none yet.
function(tw_ui_library name)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
    if(sources)
        add_library(${name} STATIC ${sources})
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
        target_link_libraries(${name} PUBLIC ${ARGN} Qt6::Widgets)
    else()
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE ${ARGN} Qt6::Widgets)
    endif()
endfunction()

# tw_add_qt_tests(folder lib...): one Qt Test program per tests/<folder>/*Test.cpp, run
# offscreen.
function(tw_add_qt_tests folder)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*Test.cpp)
    file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
    list(REMOVE_ITEM helpers ${sources})
    foreach(source ${sources})
        get_filename_component(test ${source} NAME_WE)
        add_executable(${test} ${source} ${helpers})
        set_target_properties(${test} PROPERTIES AUTOMOC ON)
        target_link_libraries(${test} PRIVATE ${ARGN} fixtures Qt6::Test Qt6::Widgets)
        add_test(NAME ${test} COMMAND ${test})
        set_tests_properties(${test} PROPERTIES TIMEOUT 300
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/runtime")
    endforeach()
endfunction()
