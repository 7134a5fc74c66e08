# Tests of the drawing tools and of the input their base decodes.
tav_add_test(test_tool SOURCES test_tool.cpp canvasfixture.h)
tav_add_test(test_pentool SOURCES test_pentool.cpp canvasfixture.h)
tav_add_test(test_freehandtools SOURCES test_freehandtools.cpp canvasfixture.h)
tav_add_test(test_lineshapetools SOURCES test_lineshapetools.cpp canvasfixture.h)
tav_add_test(test_texttool SOURCES test_texttool.cpp canvasfixture.h)
tav_add_test(test_presenter SOURCES test_presenter.cpp canvasfixture.h)
