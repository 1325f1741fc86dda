# Fails when a file outside the Qt front end (app/) and the window tests includes a Qt
# header, so a folder's name keeps telling whether Qt may appear in it.
# Run as: cmake -DSOURCE_DIR=<repository> -P CoreHasNoQt.cmake
set(core_dirs common engine script formats datafile keying startup statusbar settings bench fuzz tests)
set(offenders)
foreach(dir IN LISTS core_dirs)
    file(GLOB_RECURSE sources ${SOURCE_DIR}/${dir}/*.h ${SOURCE_DIR}/${dir}/*.cpp)
    foreach(source IN LISTS sources)
        # Window tests and the window benchmark drive the Qt classes on purpose.
        if(source MATCHES "/tests/gui/" OR source MATCHES "/bench/gui/")
            continue()
        endif()
        file(STRINGS ${source} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|Qt[A-Za-z]*/)")
        if(hits)
            file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
            list(APPEND offenders "${name}: ${hits}")
        endif()
    endforeach()
endforeach()
if(offenders)
    list(JOIN offenders "\n  " listed)
    message(FATAL_ERROR "Qt headers included in core files:\n  ${listed}")
endif()
message(STATUS "No core file includes a Qt header")
