#pragma once
// What the build's drawing tools share: they draw pictures the program keeps
// and write them as a source file of the program.
#include <QImage>
#include <string>

namespace kv {

// Checks a tool's arguments (`count` after the tool's name; else the usage
// on the error output and false) and has the application to come run on the
// offscreen platform: the tools draw with the fonts, on no screen.
bool DrawingToolArguments(int argc, char** argv, int count, const char* usage);

// The pixels of rows top .. bottom of a premultiplied ARGB image as the
// elements of a C++ array of std::uint32_t, one line a row.
std::string PixelArrayElements(const QImage& image, int top, int bottom);

// Writes `text` as the file `path`; false (after a message on the error
// output) when it cannot be written.
bool WriteDrawnSource(const char* path, const std::string& text);

}  // namespace kv
