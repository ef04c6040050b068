// Lets a layer with no sources yet still form a library.
