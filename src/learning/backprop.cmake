target_sources(korvalen_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/backprop_model.h ${CMAKE_CURRENT_LIST_DIR}/backprop_model.cpp)
target_sources(korvalen_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frmFeedFowardLearning.h ${CMAKE_CURRENT_LIST_DIR}/frmFeedFowardLearning.cpp)
