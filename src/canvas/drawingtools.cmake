# Drawing tools: pen, highlighter, eraser, line, shape, text, mouse, drag.
target_sources(tav_canvas PRIVATE
    dragtool.cpp dragtool.h
    erasertool.cpp erasertool.h
    highlightertool.cpp highlightertool.h
    linetool.cpp linetool.h
    mousetool.h
    mytextedit.cpp mytextedit.h
    pentool.cpp pentool.h
    shapetool.cpp shapetool.h
    texteditwidget.cpp texteditwidget.h
    texttool.cpp texttool.h
)
