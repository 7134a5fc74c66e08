# The select tool.
target_sources(tav_canvas PRIVATE
    selecttool.cpp selecttool.h
)
