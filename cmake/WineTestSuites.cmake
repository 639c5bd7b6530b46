# Registers a GoogleTest program of the win64 build as one CTest test per test suite.
#
# Each Wine process costs a few tenths of a second to start, and several seconds on a loaded
# machine; one process per suite instead of one per test case keeps the Windows suite short.
# The suites are read from the sources at configure time: TEST and TEST_F lines, and the
# instantiations of parameterised suites (INSTANTIATE_TEST_SUITE_P lines, whose suite is named
# "prefix/Suite", or "Suite" alone when the prefix is empty). The TEST_P lines themselves name
# no suite that runs until it is instantiated.
function(vantrel_add_wine_test_suites target)
    set(options)
    set(one_value PREFIX RESOURCE_LOCK)
    set(multi_value SOURCES)
    cmake_parse_arguments(ARG "${options}" "${one_value}" "${multi_value}" ${ARGN})

    set(identifier "[A-Za-z0-9_]+")
    set(suites)
    foreach(source IN LISTS ARG_SOURCES)
        file(STRINGS "${source}" lines REGEX "^TEST(_F)?\\(${identifier},")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^TEST(_F)?\\((${identifier}),.*" "\\2" suite "${line}")
            list(APPEND suites "${suite}")
        endforeach()
        file(STRINGS "${source}" lines
             REGEX "^INSTANTIATE_TEST_SUITE_P\\( *[A-Za-z0-9_]*, *${identifier},")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE
                   "^INSTANTIATE_TEST_SUITE_P\\( *([A-Za-z0-9_]*), *(${identifier}),.*" "\\1/\\2"
                   suite "${line}")
            string(REGEX REPLACE "^/" "" suite "${suite}")
            list(APPEND suites "${suite}")
        endforeach()
    endforeach()
    list(REMOVE_DUPLICATES suites)
    list(SORT suites)

    foreach(suite IN LISTS suites)
        set(name "${ARG_PREFIX}${suite}")
        add_test(NAME "${name}" COMMAND ${target} "--gtest_filter=${suite}.*")
        if(ARG_RESOURCE_LOCK)
            set_tests_properties("${name}" PROPERTIES RESOURCE_LOCK "${ARG_RESOURCE_LOCK}")
        endif()
    endforeach()
endfunction()
