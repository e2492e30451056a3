# Files of src/ui
