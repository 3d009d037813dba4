# korvalen_add_topics(): adds <topic>/ of the calling folder for every name in KORVALEN_TOPICS.
# A name without its folder stops the configure step: silently skipping it would leave a
# misspelt topic unbuilt and untested, with nothing to say so.
function(korvalen_add_topics)
  foreach(topic IN LISTS KORVALEN_TOPICS)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${topic}/CMakeLists.txt)
      message(FATAL_ERROR "KORVALEN_TOPICS names '${topic}', but ${CMAKE_CURRENT_SOURCE_DIR}/${topic}/CMakeLists.txt does not exist")
    endif()
  endforeach()
  foreach(topic IN LISTS KORVALEN_TOPICS)
    add_subdirectory(${topic})
  endforeach()
endfunction()
