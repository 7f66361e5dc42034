// The bundle's executable is its static libraries linked whole; this unit only gives the
// module a source of its own.
