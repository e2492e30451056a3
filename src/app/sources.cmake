# Files of src/app
target_sources(korvalt_gui PRIVATE
    app/appinfo.h
    app/application.cpp app/application.h
    app/splash.cpp app/splash.h
    app/searchmain.cpp app/searchmain.h
)
