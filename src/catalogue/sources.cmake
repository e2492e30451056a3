# Files of src/catalogue
target_sources(korvalt_core PRIVATE
    catalogue/learner.cpp catalogue/learner.h
)
target_sources(korvalt_gui PRIVATE
    catalogue/addwebsitehost.h
    catalogue/addweb.cpp catalogue/addweb.h
    catalogue/keywordgrid.cpp catalogue/keywordgrid.h
)
# Edit-site dialog, site deletion, category manager
target_sources(korvalt_gui PRIVATE
    catalogue/databasemessages.h
    catalogue/editsite.cpp catalogue/editsite.h
    catalogue/categories.cpp catalogue/categories.h
    catalogue/siteediting.cpp catalogue/siteediting.h
)
