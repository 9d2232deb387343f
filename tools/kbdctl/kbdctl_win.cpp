// kbdctl: drives the emulated keyboard inside a running Monitor.exe.
//   kbdctl plug | unplug | pull-at-read | press K | release K | version MAJ MIN | dump
// Prints the keyboard's reply; exit code 0 when the command was accepted.

#include <cstdio>
#include <string>

#include "ControlPipe_win.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: kbdctl plug|unplug|pull-at-read|press K|release K|version MAJ MIN|dump\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string verb = argv[1];
  const int wanted = verb == "press" || verb == "release" ? 1 : verb == "version" ? 2 : 0;
  if ((verb != "plug" && verb != "unplug" && verb != "pull-at-read" && verb != "dump" && wanted == 0) ||
      argc != 2 + wanted)
    return usage();
  std::string line = verb;
  for (int i = 2; i < argc; ++i) line += std::string(" ") + argv[i];
  const auto reply = emu::sendControlCommand(line);
  if (!reply) {
    std::fprintf(stderr, "kbdctl: no emulated keyboard is running\n");
    return 1;
  }
  std::printf("%s\n", reply->c_str());
  return reply->rfind("error", 0) == 0 ? 1 : 0;
}
