#include "settings.h"

namespace kv {

std::string MainDir;
std::string SysDir;
std::string TmpFile1_Name;
std::string TmpFile2_Name;
std::string LunDay_Name;

namespace {
// The observer of the lunar days, from the start: nothing changes it.
constexpr double kObserverLongitude = 0.0, kObserverLatitude = 51.5;
}  // namespace

double Obs_Longitude = kObserverLongitude;
double Obs_Latitude = kObserverLatitude;

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
  Obs_Longitude = kObserverLongitude;
  Obs_Latitude = kObserverLatitude;
}

void UseMainDirectory(const std::string& dir) {
  MainDir = WithSeparator(dir);
  SysDir = MainDir + "System" + kDirSeparator;
  SetTempFileNames();
  SetObserver();
}

}  // namespace kv
