#include "settings.h"

namespace kv {

std::string MainDir;
std::string SysDir;
std::string TmpFile1_Name;
std::string TmpFile2_Name;
std::string LunDay_Name;
double Obs_Longitude = 0.0;
double Obs_Latitude = 0.0;

std::string WithSeparator(std::string dir) {
  if (dir.empty() || dir.back() != kDirSeparator) dir += kDirSeparator;
  return dir;
}

void SetTempFileNames() {
  TmpFile1_Name = SysDir + "TmpFile1.tmp";
  TmpFile2_Name = SysDir + "TmpFile2.tmp";
  LunDay_Name = SysDir + "F_LunDay.tmp";
}

void SetObserver() {
  Obs_Longitude = 0.0;
  Obs_Latitude = 51.5;
}

void UseMainDirectory(const std::string& dir) {
  MainDir = WithSeparator(dir);
  SysDir = MainDir + "System" + kDirSeparator;
  SetTempFileNames();
  SetObserver();
}

}  // namespace kv
