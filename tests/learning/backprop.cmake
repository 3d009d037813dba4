korvalen_test(backprop_core_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/backprop_model_test.cpp)
korvalen_test(backprop_ui_tests UI SOURCES ${CMAKE_CURRENT_LIST_DIR}/frmFeedFowardLearning_test.cpp)
