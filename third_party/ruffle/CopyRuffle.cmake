# cmake -DSOURCE=<npm package folder> -DDESTINATION=<folder> -P CopyRuffle.cmake
# Copies what the player needs at run time (scripts, WebAssembly, licences);
# source maps stay behind. Without the npm package it only says how to get it.
if(NOT EXISTS ${SOURCE}/ruffle.js)
  message(STATUS "Ruffle is not installed; Flash items will show a notice. Run scripts/install-ruffle.sh")
  return()
endif()
file(GLOB files ${SOURCE}/*.js ${SOURCE}/*.wasm ${SOURCE}/LICENSE_* ${SOURCE}/package.json)
file(MAKE_DIRECTORY ${DESTINATION})
foreach(file ${files})
  get_filename_component(name ${file} NAME)
  file(COPY_FILE ${file} ${DESTINATION}/${name} ONLY_IF_DIFFERENT)
endforeach()
