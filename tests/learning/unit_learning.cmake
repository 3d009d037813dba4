korvalen_test(unit_learning_core_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/unit_learning_model_test.cpp)
korvalen_test(unit_learning_ui_tests UI SOURCES ${CMAKE_CURRENT_LIST_DIR}/frmUnitLearning_test.cpp)
