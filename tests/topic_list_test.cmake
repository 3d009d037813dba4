# Run in script mode from src/: a topic list with one misspelt name must stop before any
# folder is added, naming the folder it could not find.
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/topics.cmake)
set(KORVALEN_TOPICS core nueron)
korvalen_add_topics()
