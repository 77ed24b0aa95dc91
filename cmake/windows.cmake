# Windows tree: the program, its Windows tests (run under Wine) and benchmarks.
# A Unicode program: every text-taking macro is its W form.
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800 STRICT NOMINMAX UNICODE _UNICODE)
add_compile_options(-Wall -Wextra -Wno-missing-field-initializers -Wno-cast-function-type -Wno-restrict)
add_link_options(-static -static-libgcc -static-libstdc++)

set(WIN_LIBS comctl32 ole32 oleaut32 uuid gdi32 user32 advapi32)
include(${CMAKE_CURRENT_LIST_DIR}/delayload.cmake)

file(GLOB_RECURSE QUENMAR_WIN_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/win32/*.cpp
    ${CMAKE_SOURCE_DIR}/src/widgets/*.cpp
    ${CMAKE_SOURCE_DIR}/src/folderpicker/*.cpp
    ${CMAKE_SOURCE_DIR}/src/app/*.cpp)
list(FILTER QUENMAR_WIN_SOURCES EXCLUDE REGEX "/app/main\\.cpp$")
foreach(core_source IN LISTS QUENMAR_CORE_SOURCES)
    list(REMOVE_ITEM QUENMAR_WIN_SOURCES ${CMAKE_SOURCE_DIR}/${core_source})
endforeach()
add_library(quenmar_win STATIC ${QUENMAR_WIN_SOURCES})
target_link_libraries(quenmar_win PUBLIC quenmar_core ${WIN_LIBS})
quenmar_delay_import(quenmar_win comdlg32.dll GetOpenFileNameW GetSaveFileNameW CommDlgExtendedError)
quenmar_delay_import(quenmar_win windowscodecs.dll WICConvertBitmapSource)
# The shell is first asked once the window is on screen (its icons, then the
# user's requests): loaded with the program, it and what it brings (shcore,
# shlwapi) cost the launch about 5 ms before the first line of our code.
quenmar_delay_import(quenmar_win shell32.dll DragFinish DragQueryFileW SHGetDesktopFolder SHGetFileInfoW
    SHGetFolderLocation SHGetPathFromIDListW SHGetSpecialFolderLocation SHMapPIDLToSystemImageListIndex
    SHParseDisplayName ShellExecuteExW ShellExecuteW)
# A screen reader's first question about a described control loads it.
quenmar_delay_import(quenmar_win oleacc.dll CreateStdAccessibleObject LresultFromObject)
quenmar_delay_import(quenmar_win shlwapi.dll StrRetToBufW SHAutoComplete)
target_link_libraries(quenmar_win PUBLIC delayimp)

# The pictures and texts the resource script takes in: a change rebuilds it.
file(GLOB QUENMAR_RESOURCE_FILES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/app/res/*.bmp ${CMAKE_SOURCE_DIR}/src/app/res/*.ico
    ${CMAKE_SOURCE_DIR}/src/app/res/*.gif ${CMAKE_SOURCE_DIR}/src/app/res/*.manifest)
# The texts: a resource file for each language, each found here by itself
# and included by the resource script (the linker takes one resource object).
file(GLOB QUENMAR_LANGUAGE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/res/lang/*.rc)
set(QUENMAR_LANGUAGES_RC "")
foreach(language_file IN LISTS QUENMAR_LANGUAGE_FILES)
    string(APPEND QUENMAR_LANGUAGES_RC "#include \"${language_file}\"\n")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/Languages.rc CONTENT "${QUENMAR_LANGUAGES_RC}")
file(GLOB QUENMAR_TEXT_NUMBERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/*.h ${CMAKE_SOURCE_DIR}/src/app/res/Texts.rh)
list(APPEND QUENMAR_RESOURCE_FILES ${QUENMAR_LANGUAGE_FILES} ${QUENMAR_TEXT_NUMBERS})
set_source_files_properties(src/app/res/Quenmar.rc PROPERTIES OBJECT_DEPENDS "${QUENMAR_RESOURCE_FILES}")

add_executable(Quenmar WIN32 src/app/main.cpp src/app/res/Quenmar.rc)
target_link_libraries(Quenmar PRIVATE quenmar_win)
# The help page beside the program, as the packages install it, copied
# again whenever one of its files changes.
file(GLOB_RECURSE QUENMAR_HELP_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/help/*)
set(QUENMAR_HELP_STAMP ${CMAKE_BINARY_DIR}/help.stamp)
add_custom_command(OUTPUT ${QUENMAR_HELP_STAMP}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/docs/help ${CMAKE_BINARY_DIR}/help
    COMMAND ${CMAKE_COMMAND} -E touch ${QUENMAR_HELP_STAMP}
    DEPENDS ${QUENMAR_HELP_FILES}
    VERBATIM)
add_custom_target(help_page ALL DEPENDS ${QUENMAR_HELP_STAMP})
add_dependencies(Quenmar help_page)
# wWinMain: the command line is read wide.
target_link_options(Quenmar PRIVATE -municode)

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# Every Windows test needs the tests' wineserver, started once.
add_test(NAME wineserver_start COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-server-start)
set_tests_properties(wineserver_start PROPERTIES FIXTURES_SETUP wine)

file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(win_tests ${WIN_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/common/MemoryRegistry.cpp)
target_sources(win_tests PRIVATE src/app/res/Quenmar.rc)
target_include_directories(win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/win ${CMAKE_SOURCE_DIR}/tests/common)
target_link_libraries(win_tests PRIVATE quenmar_win GTest::gtest oleacc)
# One process a test: a crash ends only its own test. They share the prefix's
# registry and shell folders, so they run one at a time.
gtest_discover_tests(win_tests
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix)

add_subdirectory(bench)

# Quenmar.exe started as its own process and driven from outside.
file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(e2e_tests ${E2E_SOURCES} ${CMAKE_SOURCE_DIR}/tests/win/main.cpp)
target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/e2e ${CMAKE_SOURCE_DIR}/tests/win
                                             ${CMAKE_SOURCE_DIR}/tests/common)
target_link_libraries(e2e_tests PRIVATE quenmar_win GTest::gtest oleacc)
add_dependencies(e2e_tests Quenmar)
gtest_discover_tests(e2e_tests
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    TEST_PREFIX "e2e."
    PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix TIMEOUT 120)

# Quenmar in each language's session: the test runs in one of the locales
# scripts/bootstrap generates (scripts/wine-run sets it), and the program it
# starts inherits it. The languages read from right to left, and the two
# longest (German and Russian), run again at twice the scale.
foreach(locale IN ITEMS de_DE fr_FR es_ES ru_RU zh_CN ja_JP it_IT he_IL ar_EG he_IL:192 ar_EG:192 de_DE:192 ru_RU:192)
    string(REPLACE ":" ";" parts "${locale}")
    list(GET parts 0 name)
    set(environment "QUENMAR_TEST_LOCALE=${name}.UTF-8")
    list(LENGTH parts count)
    if(count GREATER 1)
        list(GET parts 1 dpi)
        list(APPEND environment "QUENMAR_TEST_DPI=${dpi}")
        string(APPEND name ".${dpi}dpi")
    endif()
    add_test(NAME e2e.Languages.${name}
             COMMAND e2e_tests --gtest_filter=Quenmar.SpeaksTheLanguageOfTheSession)
    set_tests_properties(e2e.Languages.${name} PROPERTIES
        ENVIRONMENT "${environment}"
        FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix TIMEOUT 120)
endforeach()

# The Windows Installer package of this architecture, built by wixl (msitools)
# from the one WiX source; the version is the project's.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(QUENMAR_MSI_ARCH x64)
else()
    set(QUENMAR_MSI_ARCH x86)
endif()
find_program(WIXL wixl)
if(WIXL)
    set(QUENMAR_MSI ${CMAKE_BINARY_DIR}/quenmar-${PROJECT_VERSION}-${QUENMAR_MSI_ARCH}.msi)
    set(QUENMAR_MSI_STAGE ${CMAKE_BINARY_DIR}/msi-stage)
    set(QUENMAR_ICON ${CMAKE_SOURCE_DIR}/src/app/res/Quenmar.ico)
    # wixl takes its sources relative to where it runs: the exe and icon are staged.
    file(MAKE_DIRECTORY ${QUENMAR_MSI_STAGE})
    add_custom_command(OUTPUT ${QUENMAR_MSI}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Quenmar> ${QUENMAR_MSI_STAGE}/Quenmar.exe
        COMMAND ${CMAKE_COMMAND} -E copy ${QUENMAR_ICON} ${QUENMAR_MSI_STAGE}/Quenmar.ico
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/docs/help ${QUENMAR_MSI_STAGE}/help
        COMMAND ${WIXL} -a ${QUENMAR_MSI_ARCH} -D Arch=${QUENMAR_MSI_ARCH} -D Version=${PROJECT_VERSION}
                -D ExeSource=Quenmar.exe -D IconSource=Quenmar.ico -D HelpLink=${QUENMAR_WEBSITE}
                -o ${QUENMAR_MSI} ${CMAKE_SOURCE_DIR}/installer/Quenmar.wxs
        WORKING_DIRECTORY ${QUENMAR_MSI_STAGE}
        DEPENDS Quenmar ${CMAKE_SOURCE_DIR}/installer/Quenmar.wxs ${QUENMAR_ICON} ${QUENMAR_HELP_FILES}
        COMMENT "Packaging ${QUENMAR_MSI}"
        VERBATIM)
    add_custom_target(msi ALL DEPENDS ${QUENMAR_MSI})
    add_test(NAME msi_package
        COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/msi-test.sh ${CMAKE_SOURCE_DIR} ${QUENMAR_MSI}
                ${QUENMAR_MSI_ARCH} $<TARGET_FILE:Quenmar> ${QUENMAR_ICON})
    set_tests_properties(msi_package PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix TIMEOUT 300)
else()
    message(WARNING "wixl not found: no Windows Installer package (scripts/bootstrap installs it)")
endif()
