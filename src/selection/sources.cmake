# Files of src/selection
target_sources(korvalt_core PRIVATE
    selection/sitefilter.cpp selection/sitefilter.h
    selection/sitelistmodel.cpp selection/sitelistmodel.h
)
target_sources(korvalt_gui PRIVATE
    selection/searchmodehooks.h
    selection/searchfieldspanel.cpp selection/searchfieldspanel.h
    selection/siteselection.cpp selection/siteselection.h
)
