# Project helpers shared by every folder.

# Sources of a folder tree, picked up as files are added.
function(nimbrel_glob_sources out_var)
    file(GLOB_RECURSE _src CONFIGURE_DEPENDS ${ARGN})
    set(${out_var} ${_src} PARENT_SCOPE)
endfunction()

# The folders that hold the given files, each once.
function(nimbrel_folders_of out_var)
    set(_dirs)
    foreach(f ${ARGN})
        get_filename_component(_d ${f} DIRECTORY)
        list(APPEND _dirs ${_d})
    endforeach()
    list(REMOVE_DUPLICATES _dirs)
    set(${out_var} ${_dirs} PARENT_SCOPE)
endfunction()

# nimbrel_add_layer(<name> DIRS <dir>... [EXCLUDE <regex>] [LINKS <target>...])
# One layer of the code: a static library of the sources under DIRS (an interface library while
# it has none). Every folder under DIRS that holds a header is a public include directory of the
# layer, a class is found by its name; the layer links only the layers below it (LINKS), so an
# include that runs upward does not compile. EXCLUDE drops sources and headers by path.
function(nimbrel_add_layer name)
    cmake_parse_arguments(L "" "EXCLUDE" "DIRS;LINKS" ${ARGN})
    set(_src)
    set(_hdr)
    foreach(d ${L_DIRS})
        file(GLOB_RECURSE _s CONFIGURE_DEPENDS ${d}/*.cpp)
        file(GLOB_RECURSE _h CONFIGURE_DEPENDS ${d}/*.h)
        list(APPEND _src ${_s})
        list(APPEND _hdr ${_h})
    endforeach()
    if(L_EXCLUDE)
        list(FILTER _src EXCLUDE REGEX "${L_EXCLUDE}")
        list(FILTER _hdr EXCLUDE REGEX "${L_EXCLUDE}")
    endif()
    nimbrel_folders_of(_inc ${_hdr})
    if(_src)
        add_library(${name} STATIC ${_src})
        target_include_directories(${name} PUBLIC ${_inc})
        target_link_libraries(${name} PUBLIC ${L_LINKS})
        nimbrel_target_defaults(${name})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${_inc})
        target_link_libraries(${name} INTERFACE ${L_LINKS})
    endif()
endfunction()

function(nimbrel_target_defaults target)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:${NIMBREL_WARNINGS}>)
endfunction()

# One source tree, two targets: i686 (the product) and x86_64, each in its own build folder.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(NIMBREL_ARCH x86_64)
    set(NIMBREL_TWAIN_FOLDER twain_64)
else()
    set(NIMBREL_ARCH i686)
    set(NIMBREL_TWAIN_FOLDER twain_32)
    # The x87 unit keeps intermediates in extended precision, so a measure truncated to an
    # integer could come out one lower than on x86_64 (8.2 inches x 10 giving 81 tenths):
    # both targets compute in SSE2 doubles.
    add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-msse2> $<$<COMPILE_LANGUAGE:C,CXX>:-mfpmath=sse>)
endif()

# Tests run under Wine of the build's architecture through this wrapper (WINEPREFIX in the
# build tree).
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
    @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh CACHE FILEPATH "" FORCE)

# nimbrel_add_test(<name> SOURCES ... [LIBS ...] [LOCKS ...] [LABELS ...])
# One GoogleTest executable per library or topic, registered as one ctest entry.
# LOCKS names shared state (registry, twain) that tests must not touch at once.
function(nimbrel_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;LOCKS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
    nimbrel_target_defaults(${name})
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    if(T_LOCKS)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
    endif()
    if(T_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
    endif()
endfunction()

# nimbrel_add_locale_runs(<name> <gtest filter>)
# Runs the filtered tests of <name> once more under each locale whose ANSI code page shows the
# Japanese and the Chinese texts (Wine takes the code page from the locale); the tests pick
# their language from the code page (guitest::LanguageOfCodePage). Alone: a process started
# under another locale rewrites the prefix's international settings that every process reads.
function(nimbrel_add_locale_runs name filter)
    foreach(run ja:ja_JP.UTF-8 zh:zh_CN.UTF-8)
        string(REPLACE ":" ";" run "${run}")
        list(GET run 0 language)
        list(GET run 1 locale)
        add_test(NAME ${name}.${language}
                 COMMAND ${name} --gtest_brief=1 --gtest_filter=${filter})
        set_tests_properties(${name}.${language} PROPERTIES RUN_SERIAL TRUE
            ENVIRONMENT "LC_ALL=${locale};NIMBREL_TEST_LOCALE=${locale}")
    endforeach()
endfunction()
