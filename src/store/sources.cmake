# Files of src/store
target_sources(korvalt_core PRIVATE
    store/database.cpp store/database.h store/databaseerror.h
    store/resulttable.cpp store/resulttable.h
    store/schema.cpp store/schema.h
    store/projectfiles.cpp store/projectfiles.h
    store/textlines.cpp store/textlines.h
    store/projecthooks.h
    store/projectlifecycle.cpp store/projectlifecycle.h
    store/programfolder.cpp store/programfolder.h
)
