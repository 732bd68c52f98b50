# Common compile settings for every target of the project.
function(kalvero_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KALVERO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(KALVERO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# kalvero_add_test(NAME SOURCES ... LIBS ... [QT])
# A GoogleTest binary whose tests ctest lists one by one. QT tests run on the offscreen
# platform, so no display is needed.
function(kalvero_add_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE kalvero_qt_test_main)
    set(env "QT_QPA_PLATFORM=offscreen")
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
    set(env "")
  endif()
  kalvero_defaults(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${env}")
endfunction()
