// The program's directories and shared settings, fixed at start-up from the
// main directory (the current directory of the window; --main-dir of kvlove).
#pragma once

#include <string>

namespace kv {

extern std::string MainDir;        // ends with the separator "/"
extern std::string SysDir;         // MainDir + "System/"
extern std::string TmpFile1_Name;  // SysDir + "TmpFile1.tmp"
extern std::string TmpFile2_Name;  // SysDir + "TmpFile2.tmp"
extern std::string LunDay_Name;    // SysDir + "F_LunDay.tmp"
extern double Obs_Longitude;       // degrees east, 0.0
extern double Obs_Latitude;        // degrees north, 51.5

inline constexpr char kDirSeparator = '/';

// D + "/" unless D already ends with one (the file system root).
std::string WithSeparator(std::string dir);

// The temporary file names and the observer, from SysDir.
void SetTempFileNames();
void SetObserver();

// All of the above for a main directory, as kvlove and the tests need it.
void UseMainDirectory(const std::string& dir);

}  // namespace kv
