#pragma once
// What the print program and the image program share as programs: their
// folder (the program folder), the offscreen platform when there is no
// display, and how a failure reaches the user.
#include <filesystem>
#include <string>

namespace kv::print_program {

// The folder the running program lies in.
std::filesystem::path ProgramFolder(const char* argv0);

// Qt's offscreen platform when no platform is set and no display is there.
void UseOffscreenWithoutDisplay();

// Writes the message to standard error and, unless KV_PRINT_QUIET is set,
// shows it in a message box titled "印刷". Needs the application object.
void ReportFailure(const std::string& program, const std::string& message);

}  // namespace kv::print_program
