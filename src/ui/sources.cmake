# Files of src/ui
target_sources(korvalt_core PRIVATE ui/prompter.h)
target_sources(korvalt_gui PRIVATE
    ui/qtprompter.cpp ui/qtprompter.h
    ui/shellopen.cpp ui/shellopen.h
    ui/theme.cpp ui/theme.h
    ui/ribbon.cpp ui/ribbon.h
    ui/keyboardstate.cpp ui/keyboardstate.h
)

# Embedded browser
target_sources(korvalt_gui PRIVATE
    ui/browser.h
    ui/browserprofile.cpp ui/browserprofile.h
    ui/webenginebrowser.cpp ui/webenginebrowser.h
)
