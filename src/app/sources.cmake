# Files of src/app
