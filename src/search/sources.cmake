# Files of src/search
