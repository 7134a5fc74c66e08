# Drawing tools: pen, highlighter, eraser, line, shape, text, mouse, drag.
target_sources(tavelmark_core PRIVATE
)
