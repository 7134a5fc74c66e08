# Tests of the select tool.
tav_add_test(test_selecttool SOURCES test_selecttool.cpp canvasfixture.h)
