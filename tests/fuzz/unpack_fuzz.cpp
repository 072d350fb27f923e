// Feeds arbitrary bytes to the unpacking of a packed estimate and of an OLE
// data pack. Whatever the bytes, an unpack either succeeds with nothing but
// the name's own files in the target folder, or fails and leaves the target
// folder exactly as it was; nothing is ever written anywhere else.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "platform/packing.h"

namespace fs = std::filesystem;

namespace {

struct Folders {
  fs::path root, in, out;
};

const Folders& Setup() {
  static Folders f = [] {
    std::string pattern = (fs::temp_directory_path() / "kvunpack-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    Folders d{pattern, fs::path(pattern) / "in", fs::path(pattern) / "out"};
    fs::create_directories(d.in);
    fs::create_directories(d.out);
    return d;
  }();
  return f;
}

void Write(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    std::ifstream in(e.path(), std::ios::binary);
    files[fs::relative(e.path(), folder).string()] =
        e.is_directory() ? "<dir>" : std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

void Fail(const char* what) {
  std::fprintf(stderr, "unpack_fuzz: %s\n", what);
  std::abort();
}

const std::map<std::string, std::string> kTargetBefore = {
    {"A.Y1", "level 1 of the open estimate"}, {"A$1.MOD", "its object file"}, {"B.Y1", "another estimate"}};

void ResetTarget(const fs::path& out) {
  fs::remove_all(out);
  fs::create_directories(out);
  for (const auto& [name, bytes] : kTargetBefore) Write(out / name, bytes);
}

void Check(int result, const Folders& f, bool objects, const kv::PackFileSet& set) {
  std::map<std::string, std::string> after = Snapshot(f.out);
  if (result != kv::kPackOk) {
    if (after != kTargetBefore) Fail("a refused unpack changed the target folder");
    return;
  }
  for (const auto& [name, bytes] : after) {
    bool component = false;
    for (const std::string& e : set.CompFileExt) component = component || name == "A" + e;
    bool object = kv::IsObjectFileName(name, "A");
    bool owned = objects ? object : component;
    bool other = name == "B.Y1" || (objects ? component : object);
    if (other) {
      auto was = kTargetBefore.find(name);
      if (was == kTargetBefore.end() || was->second != bytes) Fail("an unpack touched a file it does not own");
    } else if (!owned) {
      Fail("an unpack left a file that is not the estimate's");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Folders& f = Setup();
  kv::PackFileSet set;
  set.PackedExt = ".YZH";
  set.OleDataExt = "OPD";
  set.CompFileExt = {".Y1", ".Y2", ".Y$", ".INI", ".YT"};
  set.LevelExt = {".Y1", ".Y2"};

  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Write(f.in / "A.YZH", bytes);
  Write(f.in / "A.OPD", bytes);

  ResetTarget(f.out);
  Check(kv::MMelt(f.in, f.out, "A", f.root, set), f, false, set);
  ResetTarget(f.out);
  Check(kv::MMeltOLEData(f.in, f.out, "A", f.root, set), f, true, set);

  // Nothing may have appeared beside the two folders or the packed files.
  std::size_t entries = 0;
  for (const auto& e : fs::directory_iterator(f.root)) entries += e.path() == f.in || e.path() == f.out ? 1 : 100;
  if (entries != 2 || Snapshot(f.in).size() != 2) Fail("something was written outside the target folder");
  return 0;
}
