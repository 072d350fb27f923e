#pragma once
// The version line of the about box: "VersionNo     :" and the version as
// major.minor.revision, the minor as two digits (its last two), the revision
// as four (its last four): 2, 3, 12 give "VersionNo     :2.03.0012".
#include <string>

namespace kv {

std::string VersionLine(int major, int minor, int revision);
// The line of this build (the project version).
std::string ProgramVersionLine();

}  // namespace kv
