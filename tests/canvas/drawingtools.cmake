# Tests of the drawing tools.
