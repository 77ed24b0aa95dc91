# Fuzz tree (clang): libFuzzer targets of the portable code under the
# address and undefined-behaviour sanitizers. Each runs a bounded number of
# executions over its starting corpus as a test; scripts/fuzz runs campaigns.
set(FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
set(FUZZ_RUNS 50000 CACHE STRING "executions of each fuzz target in the test run")

file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*Fuzz.cpp)
foreach(source IN LISTS FUZZ_TARGETS)
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source} ${QUENMAR_CORE_SOURCES} ${CMAKE_SOURCE_DIR}/tests/common/MemoryRegistry.cpp)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests/common)
    target_compile_options(${name} PRIVATE ${FUZZ_FLAGS} -g -O1)
    target_link_options(${name} PRIVATE ${FUZZ_FLAGS})
    # The committed corpus is read, never written: new inputs go to a
    # scratch folder of the build tree.
    set(scratch ${CMAKE_BINARY_DIR}/corpus/${name})
    file(MAKE_DIRECTORY ${scratch})
    add_test(NAME fuzz.${name}
             COMMAND ${name} -runs=${FUZZ_RUNS} -max_len=4096 -seed=1 ${scratch} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
endforeach()
