# The program is built in layers, each a library that may use only the layers below it:
#
#   handles                       move-only owners of system handles
#   engine      < handles         the shredder itself: files, folders, overwrite methods
#   dialogs     < handles         font scaling, the hyperlink, the About box (and resources)
#   job         < engine, dialogs the progress dialog and its worker (and resources)
#   handoff                       what the Explorer menu's companion hands the main window
#   mainwindow  < job, handoff... start-up, the main dialog and its list (and resources)
#   companion   < handles, handoff  FerroletMenu.exe: the Explorer menu entry, a program of its own
#
# A library's include directory is a folder of its own in the build tree that holds links to
# exactly the layers it may see, so "engine/x.h" is found from the job but "mainwindow/x.h" is not:
# an include that reaches up fails to compile. The resource header is on the path only of the
# layers that show windows.
function(ferrolet_layer target)
    cmake_parse_arguments(L "RESOURCES;INTERFACE" "" "SEES" ${ARGN})
    set(view ${CMAKE_BINARY_DIR}/layers/${target})
    file(MAKE_DIRECTORY ${view})
    set(scope PUBLIC)
    if(L_INTERFACE)
        set(scope INTERFACE)
    endif()
    foreach(layer ${L_SEES})
        if(NOT IS_SYMLINK ${view}/${layer})
            file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${layer} ${view}/${layer} SYMBOLIC
                 RESULT linked)
            if(NOT linked EQUAL 0)
                # Without the right to make links (a Windows host without developer mode), the
                # build still works, only without the check.
                message(WARNING "No link for layer ${layer} (${linked}): layers not enforced")
                target_include_directories(${target} ${scope} ${CMAKE_SOURCE_DIR}/src)
            endif()
        endif()
    endforeach()
    target_include_directories(${target} ${scope} ${view})
    if(L_RESOURCES)
        target_include_directories(${target} ${scope} ${CMAKE_SOURCE_DIR}/src/resources)
    endif()
endfunction()
