// Included once by each executable that embeds Qt WebEngine.
#pragma once

#ifdef __SANITIZE_ADDRESS__
// Qt WebEngine's Chromium frees some of its own objects through a base type
// of another size; that is not ours to mend, and would stop every run.
extern "C" const char* __asan_default_options() { return "new_delete_type_mismatch=0"; }
#endif
