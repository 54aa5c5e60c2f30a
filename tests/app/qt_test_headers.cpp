// The precompiled headers of the window's tests are built with this file.
