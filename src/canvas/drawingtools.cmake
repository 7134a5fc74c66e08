# Drawing tools: pen, highlighter, eraser, line, shape, text, mouse, drag;
# the presenter's laser pointer and spotlight.
target_sources(tav_canvas PRIVATE
    dragtool.cpp dragtool.h
    erasertool.cpp erasertool.h
    highlightertool.cpp highlightertool.h
    lasertool.cpp lasertool.h
    pointingtool.h
    linetool.cpp linetool.h
    mousetool.h
    mytextedit.cpp mytextedit.h
    pentool.cpp pentool.h
    shapetool.cpp shapetool.h
    spotlightshade.cpp spotlightshade.h
    spotlighttool.cpp spotlighttool.h
    texteditwidget.cpp texteditwidget.h
    texttool.cpp texttool.h
)
