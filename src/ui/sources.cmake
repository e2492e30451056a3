# Files of src/ui
target_sources(korvalt_core PRIVATE ui/prompter.h)
target_sources(korvalt_gui PRIVATE
    ui/qtprompter.cpp ui/qtprompter.h
    ui/shellopen.cpp ui/shellopen.h
    ui/theme.cpp ui/theme.h
    ui/ribbon.cpp ui/ribbon.h
    ui/keyboardstate.cpp ui/keyboardstate.h
)
