#pragma once
// The program's version (the project's, as in every release file's name) and
// the commit it was built from, written at build time.

// "0.1.0".
const char* zemraVersion();
// The short commit name, with "+changes" when the tree differed from it;
// empty when the build did not come from a git checkout.
const char* zemraCommit();
