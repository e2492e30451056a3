# Files of src/search
target_sources(korvalt_core PRIVATE
    search/requestbuilder.cpp search/requestbuilder.h
)
target_sources(korvalt_gui PRIVATE
    search/searchrun.cpp search/searchrun.h
)
