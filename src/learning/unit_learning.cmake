target_sources(korvalen_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/unit_learning_model.cpp)
target_sources(korvalen_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frmUnitLearning.h ${CMAKE_CURRENT_LIST_DIR}/frmUnitLearning.cpp)
