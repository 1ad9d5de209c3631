# Helpers shared by every folder's CMakeLists.txt.

# Warnings and sanitizer flags for one of our own targets.
function(scr_target_options target)
  target_compile_options(${target} PRIVATE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
      -Woverloaded-virtual -Wimplicit-fallthrough>)
  if(SCR_WERROR)
    target_compile_options(${target} PRIVATE $<$<CXX_COMPILER_ID:GNU,Clang>:-Werror>)
  endif()
  if(SCR_FUZZ)
    # Instrument our libraries for coverage-guided fuzzing; fuzz/ links the fuzzer itself.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  elseif(SCR_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
      -fno-sanitize-recover=undefined)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# One library per source folder: every .cpp directly in the folder (main.cpp excluded).
#   scr_folder_library(NAME name [LIBS ...])
function(scr_folder_library)
  cmake_parse_arguments(ARG "" "NAME" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(${ARG_NAME} STATIC ${sources})
  target_include_directories(${ARG_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${ARG_NAME} PUBLIC ${ARG_LIBS})
  scr_target_options(${ARG_NAME})
endfunction()
