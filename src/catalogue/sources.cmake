# Files of src/catalogue
