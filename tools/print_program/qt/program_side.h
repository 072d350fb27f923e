#pragma once
// What the print program and the image program share as programs: their
// folder (the program folder), the offscreen platform when there is no
// display, and how a failure reaches the user.
#include <filesystem>
#include <functional>
#include <string>

namespace kv::print_program {

// The folder the running program lies in.
std::filesystem::path ProgramFolder(const char* argv0);

// Memory freed while a page is written is kept for the next page instead of
// being handed back to the system after every page (the PDF writer
// allocates and frees a large buffer a page; giving it back and taking it
// again each time costs more than the page's drawing).
void KeepFreedMemory();

// Qt's offscreen platform when no platform is set and no display is there.
void UseOffscreenWithoutDisplay();

// True when the program runs without a screen (the offscreen platform):
// nobody could answer a window then.
bool WithoutScreen();

// Writes the message to standard error and, unless KV_PRINT_QUIET is set or
// there is no screen, shows it in a message box titled "印刷". Needs the
// application object.
void ReportFailure(const std::string& program, const std::string& message);

// Runs `body`(program folder, job file argument) as the program `program`
// (its main): the application object on a display or offscreen, the job file
// "MP_INFO.DAT" when none is given, and a failure reported and ended with
// status 1.
int RunPrintProgram(int argc, char** argv, const std::string& program,
                    const std::function<int(const std::filesystem::path&, const std::string&)>& body);

}  // namespace kv::print_program
