# Adds every immediate subfolder of the calling folder that has a CMakeLists.txt,
# so a subsystem's tests, benchmarks or tools join the build by existing.
function(murax_add_subfolders)
  file(GLOB entries LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(dir ${entries})
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
