# The select tool.
target_sources(tavelmark_core PRIVATE
)
