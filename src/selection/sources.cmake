# Files of src/selection
