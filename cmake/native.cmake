# Native tree: the portable core and its unit tests, under the sanitizers.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(quenmar_core PRIVATE ${SANITIZE})
target_link_options(quenmar_core PUBLIC ${SANITIZE})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(GoogleTest)
file(GLOB NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(native_tests ${NATIVE_TESTS} ${CMAKE_SOURCE_DIR}/tests/common/MemoryRegistry.cpp
                            ${CMAKE_SOURCE_DIR}/tests/common/StringTables.cpp)
target_compile_options(native_tests PRIVATE ${SANITIZE} -Wall -Wextra)
target_include_directories(native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
target_compile_definitions(native_tests PRIVATE QUENMAR_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_libraries(native_tests PRIVATE quenmar_core GTest::gtest_main)
gtest_discover_tests(native_tests DISCOVERY_TIMEOUT 60)
