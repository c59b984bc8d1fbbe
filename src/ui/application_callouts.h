#pragma once

namespace quib {

// Loads the callout library file (the user's copy first, then the shipped one) and makes it the
// library text boxes are drawn with. Without a readable file the built-in callouts stay in use.
// Returns whether a file was loaded.
bool loadApplicationCalloutLibrary();

// Makes the built-in callouts the library when none was set yet.
void useBuiltInCalloutsUntilLoaded();

}  // namespace quib
