# anulacion_module(NAME DIR [DEPS ...])
# A library made of every .cpp in DIR except *_test.cpp; its tests are the
# *_test.cpp files of DIR, linked into one test program NAME_tests.
function(anulacion_module name dir)
  cmake_parse_arguments(M "" "" "DEPS;TEST_DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  file(GLOB tests CONFIGURE_DEPENDS ${dir}/*_test.cpp)
  if(tests)
    list(REMOVE_ITEM srcs ${tests})
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${M_DEPS})
  if(ANULACION_TESTS AND tests)
    add_executable(${name}_tests ${tests})
    target_link_libraries(${name}_tests PRIVATE ${name} ${M_TEST_DEPS} testsupport GTest::gtest)
    gtest_discover_tests(${name}_tests
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
