# quillet_add_test(<name> <source>... [LIBS <lib>...] [ENV <var=value>...])
# Builds one Qt Test program, registers it with CTest and runs it headless.
# ENV adds to the test's environment or overrides a variable of it.
function(quillet_add_test name)
    cmake_parse_arguments(ARG "" "" "LIBS;ENV" ${ARGN})
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE quillet_test_support Qt6::Test ${ARG_LIBS})
    quillet_add_test_run(${name} "" ENV ${ARG_ENV})
endfunction()

# quillet_add_test_run(<name> <run> [ENV <var=value>...])
# Registers the test program <name> once more, as <name>_<run>, in another
# environment; an empty <run> registers it under its own name.
function(quillet_add_test_run name run)
    cmake_parse_arguments(ARG "" "" "ENV" ${ARGN})
    set(test ${name})
    if(run)
        set(test ${name}_${run})
    endif()
    add_test(NAME ${test} COMMAND ${name})
    # Later settings of a variable win over the defaults before them.
    set(env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 ${ARG_ENV})
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
