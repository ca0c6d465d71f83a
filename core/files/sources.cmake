# Data files: item codec, reader and writer.
