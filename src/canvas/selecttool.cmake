# The select tool.
target_sources(tavelmark_core PRIVATE
    selecttool.cpp selecttool.h
)
