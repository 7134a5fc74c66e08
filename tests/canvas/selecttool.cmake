# Tests of the select tool.
